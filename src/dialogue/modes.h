// The update modes: how much of its own state the appliance resets at boot,
// and which of its configurations it overwrites with the floppy's.
#pragma once

#include <cstddef>
#include <cstdint>

struct update_mode {
    uint32_t mode;               // the number the operator types
    int8_t um_clear_log;         // empty all logs
    int8_t um_clear_edit;        // preliminary configuration back to factory
    int8_t um_clear_production;  // permanent configuration back to factory
    int8_t um_set_edit;          // floppy's configuration into the preliminary one
    int8_t um_set_production;    // floppy's configuration into the permanent one
    const char *explanation;     // one paragraph, printed folded
};

// Modes 1, 2 and 3 in this order. Mode 1 resets nothing and is the default.
// Walks go over all rows; mode numbers are unique.
inline constexpr std::size_t update_table_rows = 3;
extern const update_mode update_table[update_table_rows];
