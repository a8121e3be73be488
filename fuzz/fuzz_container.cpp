// The container reader on arbitrary bytes: it either reads or throws IoError.
#include "container/project_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vlp;
    const std::string file = fuzz::WorkFile("input.vlp");
    fuzz::WriteBytes(file, fuzz::AsText(data, size));
    try {
        ProjectLanguageState state;
        const std::string text = LoadProjectFile(file, state);
        if (text.size() > size) __builtin_trap();  // never more text than the file holds
        InspectProjectFile(file);
    } catch (const IoError&) {
    }
    return 0;
}
