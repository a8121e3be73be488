#pragma once

#include <optional>
#include <string>
#include <vector>

// The subcommands of vlptrans-cli. Each returns the process's exit status.
namespace vlp::cli {

enum ExitStatus : int {
    kExitSuccess = 0,
    kExitUsage = 1,
    kExitBadInput = 2,
    kExitAmbiguous = 3,
};

struct TranslateOptions {
    std::vector<std::string> files;
    std::optional<std::string> target;
    std::optional<std::string> output;
    std::optional<std::string> namesFile;
    std::optional<std::string> choicesFile;
    std::optional<std::string> reportFile;
    bool strict = false;
};

struct DumpOptions {
    std::string file;
    std::string target;
    std::optional<std::string> output;
};

// dataDir holds compare.tab and the *.ldi files.
int ListLanguages(const std::string& dataDir);
int ShowInfo(const std::string& file);
int ShowProject(const std::string& dataDir, const std::string& file);
int TranslateProjects(const std::string& dataDir, const TranslateOptions& options);
int DumpWordTable(const std::string& dataDir, const DumpOptions& options);

// The folder of the running executable.
std::string ExecutableFolder();

}  // namespace vlp::cli
