#pragma once
// Splitting a command line into its arguments by the rules of Windows programs (the C runtime's and
// CommandLineToArgvW's), so that a command line typed for Windows starts the same program with the same
// arguments everywhere, and no shell ever sees it.
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::platform {

// The program name ends at the first space or tab outside double quotes; its quotes are dropped and its
// backslashes kept. In the arguments after it, 2n backslashes before a quote give n backslashes and the
// quote opens or closes a quoted part, 2n+1 give n backslashes and a literal quote, backslashes before
// anything else stay as they are, and "" inside a quoted part is a literal quote. Leading spaces are
// skipped; an empty or blank line gives no arguments.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

} // namespace zorvant::platform
