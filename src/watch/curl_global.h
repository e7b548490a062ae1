#pragma once
// libcurl's global set-up, done once for the whole program before the first handle.

namespace zorvant::watch {

void initialiseCurlOnce();

} // namespace zorvant::watch
