// vantrel-decoder: decodes one picture of a type the program does not read itself, run by
// the program inside a sandbox for every such picture (started ahead, waiting for it). Not meant to
// be started by hand.
#include "picture/decode/CDecoderService.h"

#include <QStringList>

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return CDecoderService::Run(args);
}
