#pragma once

#include "picture/format/PictureInfo.h"

#include <QByteArrayView>
#include <QList>

// Reads the upright size of a HEIF file's primary picture (HEIC, AVIF) from its header boxes
// without decoding: the primary item (pitm), its spatial extent (ispe) and its rotation
// (irot), found through the item properties (iprp: ipco and ipma) of the meta box. Every
// box length and count is checked against the data at hand; anything that does not add up
// leaves the size unknown.
class CHeifHeader {
public:
    // Sets info's width and height when the head holds the whole meta box and it tells them.
    static void Probe(QByteArrayView head, SPictureInfo& info);

private:
    struct SBox {
        quint32 nType = 0;
        qsizetype nBody = 0; // where its content starts
        qsizetype nEnd = 0;  // where it ends
    };
    struct SProperties {
        QByteArrayView ipco;
        QByteArrayView ipma;
        quint32 nPrimary = 0;
        bool bHasPrimary = false;
    };

    // The box at `at` within [at, end); false when its length does not fit.
    static bool ReadBox(QByteArrayView data, qsizetype at, qsizetype end, SBox& box);
    static bool FindBox(QByteArrayView data, qsizetype from, qsizetype end, quint32 type,
                        SBox& found);
    static bool ReadMeta(QByteArrayView meta, SProperties& props);
    // The 1-based property indexes the ipma box gives the primary item.
    static QList<int> PrimaryProperties(const SProperties& props);
    static void ApplyProperties(const SProperties& props, const QList<int>& indexes,
                                SPictureInfo& info);
};
