#pragma once

#include <QByteArray>

// What the decoder helper is handed instead of the user's file (but for the largest files,
// where the copy would cost more than a frame): a copy in memory, sealed
// against writing, cutting and growing, so a helper taken over by a picture cannot write
// back through it, through /proc/self/fd, or by any other path to the descriptor.
namespace sealed_copy {

// A sealed copy of what `fd` holds from its start; -1 when it cannot be made. The caller
// closes it.
int OfFile(int fd);
int OfBytes(const QByteArray& data);

} // namespace sealed_copy
