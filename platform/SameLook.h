#pragma once

class QImage;

// Whether two drawings look the same: equal sizes, and every channel of every pixel within
// two levels (an antialiased edge drawn at another place, or through a picture with an
// alpha channel, may round one level differently).
bool SameLook(const QImage& a, const QImage& b);
