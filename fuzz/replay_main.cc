// Runs a libFuzzer harness once on each file named, or on each file of each
// directory named, without libFuzzer: the corpora replay with any compiler.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size);

namespace {

int replay_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replay %s\n", path.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    int failures = 0, count = 0;
    for (int i = 1; i < argc; ++i) {
        struct stat st;
        if (stat(argv[i], &st) == 0 && S_ISDIR(st.st_mode)) {
            DIR *d = opendir(argv[i]);
            while (dirent *e = d ? readdir(d) : nullptr) {
                if (e->d_name[0] == '.') continue;
                failures += replay_file(std::string(argv[i]) + "/" + e->d_name);
                ++count;
            }
            if (d) closedir(d);
        } else {
            failures += replay_file(argv[i]);
            ++count;
        }
    }
    std::fprintf(stderr, "%d inputs replayed\n", count);
    return failures == 0 && count > 0 ? 0 : 1;
}
