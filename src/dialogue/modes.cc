// The table of update modes.
#include "dialogue/modes.h"

#include "catalog.h"

const update_mode update_table[update_table_rows] = {
    {1, 0, 0, 0, 1, 1, msg.mode_normal_str},
    {2, 0, 0, 1, 0, 1, msg.mode_panic_str},
    {3, 1, 1, 1, 1, 1, msg.mode_factory_str},
};
