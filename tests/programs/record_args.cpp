// A program for tests of starting processes: writes each of its arguments after the first, followed by
// LF, into the file that the first argument names. The file appears whole, through a rename.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const std::string target = argv[1];
    const std::string temporary = target + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr)
        return 1;
    for (int i = 2; i < argc; ++i)
        std::fprintf(out, "%s\n", argv[i]);
    std::fclose(out);
    return std::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : 1;
}
