// Stands in for a program started by dlmanager: writes the arguments it was given, each followed
// by a NUL byte, into "<its own folder>/<its own name>.argv" (complete or not at all).
#include <unistd.h>
#include <climits>
#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        return 1;
    }
    const std::string target = std::string(self, size_t(length)) + ".argv";
    const std::string partial = target + ".part";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (out == nullptr) {
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        std::fwrite(argv[i], 1, std::string(argv[i]).size() + 1, out);
    }
    const bool written = std::fclose(out) == 0;
    return written && std::rename(partial.c_str(), target.c_str()) == 0 ? 0 : 1;
}
