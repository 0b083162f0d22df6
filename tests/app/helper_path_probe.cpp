// Prints the decoder helper the picture decoder would run, as seen from wherever this
// program is copied to: the install-layout test puts it into an installed prefix.
#include "picture/sandbox/CDecoderClient.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::puts(CDecoderClient::HelperPath().toLocal8Bit().constData());
    return 0;
}
