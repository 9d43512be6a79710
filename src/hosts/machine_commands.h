// The commands of h5kakei that depend on what the machine is: on Linux an
// environment root (--root), on Windows the machine itself.
#ifndef H5KAKEI_HOSTS_MACHINE_COMMANDS_H_
#define H5KAKEI_HOSTS_MACHINE_COMMANDS_H_

#include <string>
#include <vector>

#include "hosts/cli_options.h"

namespace h5 {

// Exit status of bad usage or an unreadable book.
constexpr int kCliUsageError = 2;

// Prints "h5kakei: message" on standard error; returns kCliUsageError.
int Fail(const std::string& message);

// Makes standard output pass bytes as they are (no "\r\n" on Windows), so
// both builds print the same.
void UseBinaryOutput();

// The screen's twips per pixel when --twips-per-pixel is not given: 15 for a
// root (96 dpi), the desktop's on Windows.
float ScreenTwipsPerPixel();

// Whether the tile commands have a machine to read; *error says why not.
bool CheckMachine(const CliOptions& options, std::string* error);

// render (args: the whole command line without the program name), book
// build, sample. Each returns the exit status.
int RunRenderCommand(const CliOptions& options, const std::vector<std::string>& args);
int RunBook(const CliOptions& options);
int RunSample(const CliOptions& options);

}  // namespace h5

#endif  // H5KAKEI_HOSTS_MACHINE_COMMANDS_H_
