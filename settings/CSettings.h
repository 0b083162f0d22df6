#pragma once

#include "settings/CTargetSet.h"

#include <QRect>
#include <QString>
#include <array>

class CProfileStore;

inline constexpr int kTargetSetCount = 4;
inline constexpr int kDefaultFilterFlags = 0x0400; // JPG only
inline const QString kNoTargetName = QStringLiteral("< None >");

// Everything the program keeps between runs: four target sets, the current set, the
// file-type filter, the behaviour switches and the main window's rectangle. Read once
// when the main window is created and written once when it closes; in between only the
// object in memory changes.
class CSettings {
public:
    // Reads every value (absent ones take their defaults), then makes the current set's
    // home directory the process's current directory when it can.
    void Load(CProfileStore& store);
    // Writes every value; the window rectangle is the one the main window has now. False
    // when the store could not be written (its WriteError() says why).
    bool Save(CProfileStore& store, const QRect& windowRect);

    QRect GetWindowRectSetting() const { return m_rectWindow; }
    void SetWindowRectSetting(const QRect& rect) { m_rectWindow = rect; }

    // The per-set accessors work on the current set; i is 0 to 19.
    QString GetHomeDirectory() const;
    void SetHomeDirectory(const QString& dir);
    QString GetTargetName(int i) const;
    void SetTargetName(int i, const QString& name);
    QString GetTargetDir(int i) const;
    void SetTargetDir(int i, const QString& dir);

    int GetSelectionSet() const { return m_nSelectionSet; }
    void SetSelectionSet(int n);
    int GetFitPicToWindow() const { return m_bFitPicToWindow; }
    void SetFitPicToWindow(int n) { m_bFitPicToWindow = n; }
    int GetMoveFiles() const { return m_bMoveFiles; }
    void SetMoveFiles(int n) { m_bMoveFiles = n; }
    int GetUseRecyclingBin() const { return m_bUseRecyclingBin; }
    void SetUseRecyclingBin(int n) { m_bUseRecyclingBin = n; }
    // Whether a picture's companion files (sidecars, RAW or JPEG twin) go with it; stored
    // apart from the Config values, under [Sorting] MoveCompanionFiles.
    int GetMoveCompanionFiles() const { return m_bMoveCompanionFiles; }
    void SetMoveCompanionFiles(int n) { m_bMoveCompanionFiles = n; }

    void AddFilterFlags(int bits) { m_nFilterFlags |= bits; }
    int IsFilterFlagSet(int bits) const { return (m_nFilterFlags & bits) != 0 ? 1 : 0; }
    void ClearFilterFlags() { m_nFilterFlags = 0; }
    int GetFilterFlags() const { return m_nFilterFlags; }

    const CTargetSet& TargetSet(int n) const;

    static QString SectionName(int nSet);  // "TargetSet01".."TargetSet04"
    static QString TargetNameEntry(int i); // "Target01Name".."Target20Name"
    static QString TargetDirEntry(int i);  // "Target01Dir".."Target20Dir"
    static int ClampSelectionSet(int n);   // any stored number into 0..3

private:
    CTargetSet& Current();
    const CTargetSet& Current() const;

    std::array<CTargetSet, kTargetSetCount> m_arrTargetSets;
    int m_nSelectionSet = 0;
    int m_nFilterFlags = kDefaultFilterFlags;
    int m_bUseRecyclingBin = 1;
    int m_bMoveFiles = 1;
    QRect m_rectWindow = QRect(QPoint(16, 16), QPoint(783, 573));
    int m_bFitPicToWindow = 0;
    int m_bMoveCompanionFiles = 1;
};
