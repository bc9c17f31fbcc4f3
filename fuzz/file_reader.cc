// The reader of fconfig.dat on arbitrary bytes, served from memory.
//
// After each load: the record holds only what the reader may accept, the
// messages are safe for a terminal, and reading the same bytes in small
// pieces changes nothing. Then the record is saved and read back: the file
// written must load without a single message and give the record back, but
// for what the writer states whatever the record says.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "config/file.h"
#include "config/options.h"
#include "console/io.h"
#include "fsio_stub.h"
#include "record_check.h"

namespace {

struct loaded {
    options o;
    std::string messages;
};

// load() on a directory holding only fconfig.dat with the given bytes.
loaded load_bytes(std::string_view bytes, std::size_t max_read) {
    memfs::reset();
    memfs::put("fconfig.dat", bytes);
    fault.max_read = max_read;
    loaded r;
    r.messages = load_messages(&r.o);
    if (memfs::open_count() != 0) finding("the reader left a descriptor open");
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char *>(data), size);

    loaded whole = load_bytes(bytes, static_cast<std::size_t>(-1));
    check_record(whole.o);
    if (whole.o.update_mode != 1) finding("load left an update mode other than 1");
    check_terminal_text(whole.messages, "control byte in a message of the reader");
    if (!whole.messages.empty() && whole.messages.back() != '\n')
        finding("a message of the reader does not end its line", whole.messages);

    // Lines cut across reads must be put together exactly as whole reads do.
    loaded pieces = load_bytes(bytes, 1 + size % 7);
    if (const char *field = differing_field(whole.o, pieces.o))
        finding("reading in small pieces gave another record, in", field);
    if (whole.messages != pieces.messages)
        finding("reading in small pieces gave other messages", pieces.messages);

    // Save in one of the three update modes, then read the new file back.
    options o = whole.o;
    o.update_mode = 1 + static_cast<uint32_t>(size % 3);
    save(&o);
    if (memfs::open_count() != 0) finding("the save left a descriptor open");
    if (memfs::file_count() != 1) finding("the save left a file besides fconfig.dat");
    const std::string *written = memfs::find("fconfig.dat");
    if (written == nullptr) finding("the save left no fconfig.dat");
    std::string text = *written;
    loaded back = load_bytes(text, static_cast<std::size_t>(-1));
    if (!back.messages.empty()) finding("the file written draws messages when read", back.messages);
    if (const char *field = differing_field(read_back(o), back.o))
        finding("the file written reads back as another record", field + (": " + text));
    return 0;
}
