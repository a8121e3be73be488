// Open and parse a project with the repository's languages: any bytes, no crash.
#include "fuzz/fuzz_support.h"
#include "translate/project_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vlp;
    const std::string file = fuzz::WorkFile("open.vlp");
    fuzz::WriteBytes(file, fuzz::AsText(data, size));
    Workspace ws;
    fuzz::PrepareWorkspace(ws, fuzz::LanguageDir());
    fuzz::SilentReporter reporter;
    try {
        OpenProjectSections(ws, file, reporter);
    } catch (const IoError&) {
    }
    return 0;
}
