#include "console/BatchConsole.h"

#include <iostream>
#include <memory>
#include <utility>

#include "console/BatchCommandLine.h"
#include "console/ConsoleDesktop.h"
#include "console/ConsoleProgress.h"
#include "listing/Paths.h"
#include "log/LogListFile.h"
#include "main/CommandLine.h"
#include "main/ProgramDir.h"
#include "main/Windows.h"
#include "platform/Interrupt.h"
#include "platform/Terminal.h"
#include "sync/Preview.h"

namespace twinfold {
namespace {

constexpr int kWrongCommandLine = 2;
constexpr int kInterrupted = 130;

// Without --yes or --no a question is asked only where someone can answer.
ConsoleAnswer AnswerFor(ConsoleAnswer asked) {
    if (asked != ConsoleAnswer::Ask) return asked;
    return platform::IsTerminal(platform::StandardStream::Input) ? ConsoleAnswer::Ask
                                                                 : ConsoleAnswer::No;
}

int RunBatch(const BatchCommandLine& line) {
    platform::InstallInterruptFlag();
    // The windows move the current directory: relative paths are fixed first.
    const std::string batchFile = CommandLinePath(line.batchFile);
    const std::string logDir = CommandLinePath(line.logDir);
    ConsoleDesktop desktop(std::cout, std::cerr, std::cin, AnswerFor(line.answer),
                           platform::InterruptRequested);
    std::unique_ptr<ConsoleProgress> progress;
    if (platform::IsTerminal(platform::StandardStream::Error)) {
        progress = std::make_unique<ConsoleProgress>(std::cerr, platform::TerminalColumns());
        desktop.SetProgress(progress.get());
    }
    Windows windows(desktop, ProgramDirectory(), line.dryRun);
    desktop.Follow(windows.syncBox);
    sync::PreviewCounts counts;
    if (line.dryRun) {
        windows.main.onPreview = [&counts](const sync::PreviewLine& decision) {
            std::cout << decision.Text() << '\n';
            counts.Add(decision);
        };
    }
    if (progress) progress->Follow(windows.syncBox);
    // The summary and the logs come before the closing line, so that it is
    // the last line and can tell whether the logs were written.
    windows.main.onBatchEnd = [&] {
        if (progress) progress->Clear();
        if (line.dryRun) std::cout << "summary: " << counts.Text() << '\n';
        return logDir.empty() || WriteRunLogs(windows.logFile, logDir, std::cerr);
    };

    windows.main.ExecuteBatch(batchFile);
    if (progress) progress->Clear();
    return BatchExitStatus(windows.main.LastBatch());
}

}  // namespace

int BatchExitStatus(const BatchReport& report) {
    if (report.interrupted) return kInterrupted;
    return report.Clean() ? 0 : 1;
}

bool WriteRunLogs(const TLogFilebx& log, const std::string& dir, std::ostream& errors) {
    // A directory that could not be made fails each log's write, which says so.
    (void)MakeDirectoryPath(dir);
    const std::pair<const LogList*, const char*> lists[] = {
        {&log.FileSuccess, TLogFilebx::kSuccessFileName},
        {&log.FileOld, TLogFilebx::kOldFileName},
        {&log.FileFailed, TLogFilebx::kFailedFileName},
    };
    bool all = true;
    for (const auto& [list, name] : lists) {
        if (Status written = WriteLogList(*list, JoinPath(dir, name)); !written) {
            errors << "twinfold-batch: " << written.error().message << '\n';
            all = false;
        }
    }
    return all;
}

int RunBatchConsole(const std::vector<std::string>& arguments) {
    auto line = ParseBatchCommandLine(arguments);
    if (!line) {
        std::cerr << "twinfold-batch: " << line.error().message << '\n' << BatchUsage();
        return kWrongCommandLine;
    }
    if (line.value().help) {
        std::cout << BatchUsage();
        return 0;
    }
    return RunBatch(line.value());
}

}  // namespace twinfold
