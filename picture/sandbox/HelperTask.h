#pragma once

#include <QStringList>

// How a decoder helper that was started ahead learns its task: it waits on a socket at
// decoder_protocol::kInputFd (the memory for its pixels is at kPixelsFd from the start), and
// the program sends one message with the helper's arguments (as they would stand on its
// command line) and, attached, the descriptor of the file to decode. The helper acknowledges
// with one byte before it starts, so the program can tell a helper that died while it waited
// from one that died on the picture.
namespace helper_task {

// The argument that starts a helper waiting for its task.
inline constexpr char kWaitArgument[] = "--wait";
// The acknowledgement.
inline constexpr char kTaken = '\x06';
// The longest message of arguments.
inline constexpr int kMaxMessage = 4096;

// Sends `args` with `inputFd` (and `files`, at most decoder_protocol::kMaxFiles) over
// `socket`; false when the helper is gone or the arguments are too long.
bool Send(int socket, const QStringList& args, int inputFd, const QList<int>& files = {});

// The helper's side: waits on `socket` for the message, acknowledges it and puts the
// descriptor it carried at decoder_protocol::kInputFd (which closes the socket), and the files
// that came with it from decoder_protocol::kFirstFileFd on. False, with nothing installed,
// when the message is missing or malformed.
bool Receive(int socket, QStringList& args);

} // namespace helper_task
