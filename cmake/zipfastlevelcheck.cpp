// Run at configure time with report/zipfastlevel.cpp: saves a workbook through
// libxlsxwriter and succeeds only if every deflated part's local header says
// "fast" (general-purpose flag bits 1-2 = 0b10), that is the override was
// reached. Exit code 0: the hook works here.
#include <xlsxwriter.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
std::uint32_t le(const std::vector<unsigned char> &b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | b.at(at + std::size_t(i));
    return value;
}
} // namespace

int main(int argc, char **argv)
{
    const char *path = argc > 1 ? argv[1] : "zipfastlevelcheck.xlsx";
    lxw_workbook *workbook = workbook_new(path);
    if (!workbook)
        return 2;
    worksheet_write_string(workbook_add_worksheet(workbook, nullptr), 0, 0, "check", nullptr);
    if (workbook_close(workbook) != LXW_NO_ERROR)
        return 3;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path);
    try {
        std::size_t end = b.size() - 22; // the end record, no comment
        if (le(b, end, 4) != 0x06054b50)
            return 4;
        std::size_t entry = le(b, end + 16, 4);
        int deflated = 0;
        for (std::uint32_t n = le(b, end + 10, 2); n > 0; --n) {
            if (le(b, entry, 4) != 0x02014b50)
                return 5;
            const std::size_t local = le(b, entry + 42, 4);
            if (le(b, local, 4) != 0x04034b50)
                return 6;
            if (le(b, local + 8, 2) == 8) {
                ++deflated;
                if (((le(b, local + 6, 2) >> 1) & 3) != 2)
                    return 7;
            }
            entry += 46 + le(b, entry + 28, 2) + le(b, entry + 30, 2) + le(b, entry + 32, 2);
        }
        return deflated > 0 ? 0 : 8;
    } catch (...) {
        return 9;
    }
}
