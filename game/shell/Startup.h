// What the program entry does around the engine: finding the user data directory (and saying once on
// standard error when it cannot be used, since the log lives there) and turning any failure that escapes the
// game into a message and exit status 1 instead of an abort. Free functions; main() is their only caller.
#pragma once

#include <functional>
#include <string>

namespace VelmoraBall {

// The application-data folder + "\Quillfen Games\Velmora Ball", created when missing. When it cannot be
// created or written, one line on standard error says so; the game goes on with it all the same.
std::string PrepareUserDataDirectory();

// Runs the game and gives its exit status: the body's result, or 1 after a message box (standard error
// without a display) for any exception that escapes it.
int RunReportingFailures(const std::function<int()>& game);

} // namespace VelmoraBall
