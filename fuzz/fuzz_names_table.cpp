// The names table reader: any bytes, never a new row, never a crash.
#include "fuzz/fuzz_support.h"
#include "project/names_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vlp;
    const std::string file = fuzz::WorkFile("names.txt");
    fuzz::WriteBytes(file, fuzz::AsText(data, size));
    Workspace ws;
    const char* names[] = {"alpha", "beta", "Gamma", "d\xE9lka", "x"};
    for (std::size_t i = 0; i < std::size(names); ++i) ws.namesGrid.rows[i][1] = names[i];
    const auto rows = ws.namesGrid.rows.size();
    try {
        LoadNamesFile(ws, file);
    } catch (const IoError&) {
    }
    if (ws.namesGrid.rows.size() != rows) __builtin_trap();
    return 0;
}
