#pragma once
// The operating-system services the watch tick uses, behind one interface so that tests of the tick's
// logic can record calls, while the layer's own tests use the real implementation.
#include "platform/claim.h"

#include <string>
#include <string_view>

namespace zorvant::platform {

class Services {
public:
    virtual ~Services() = default;

    // The file operations default to the real ones of platform.h and claim.h; a fake overrides only what
    // it must.
    virtual bool plainFileExists(std::string_view name);
    virtual bool deleteFile(std::string_view name);
    virtual bool copyFileReplacing(std::string_view from, std::string_view to);
    // Never replaces an existing file.
    virtual bool renameFile(std::string_view from, std::string_view to);
    virtual Claim claimFile(std::string_view file, std::string_view claimed);
    virtual Claim holdClaimed(std::string_view claimed);
    // Whether another handle holds the file open for writing. Where such a file cannot be renamed at all
    // (Windows), claimFile refuses it already and this default is enough.
    virtual WriterState writerState(std::string_view) { return WriterState::Free; }
    // Throws zorvant::Error when the file cannot be opened or read.
    virtual std::string readFile(std::string_view name);
    // Asks the desktop shell to open the text with the verb "open"; the result is not looked at.
    virtual void shellOpen(std::string_view target) = 0;
    // Starts a command line as a new process without a shell and without waiting; throws zorvant::Error
    // when the program cannot be started.
    virtual void startCommandLine(std::string_view commandLine) = 0;
    // Starts playing a WAV file without waiting; throws zorvant::Error when it cannot be played.
    virtual void playSound(std::string_view wavFile) = 0;
};

// The real services of this operating system.
Services& systemServices();

} // namespace zorvant::platform
