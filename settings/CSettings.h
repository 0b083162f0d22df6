#pragma once

#include "settings/CChangeNotifier.h"
#include "settings/CTargetSet.h"

#include <QRect>
#include <QString>
#include <array>

class CProfileStore;

inline constexpr int kTargetSetCount = 4;
inline constexpr int kDefaultFilterFlags = 0x0400; // JPG only
inline const QString kNoTargetName = QStringLiteral("< None >");
inline constexpr int kDefaultFileSelectWidth = 200; // the file browser pane, in pixels

// Everything the program keeps between runs: four target sets, the current set, the
// file-type filter, the behaviour switches, the main window's rectangle and what the
// window showed last. Read once when the main window is created; every change through a
// setter (or an assignment of the whole) is told to the listener, which writes it at once
// (CSettingsKeeper); the window rectangle is written when the window closes.
class CSettings {
public:
    // Told after every change; a copy of the settings has no listener.
    void SetListener(std::function<void()> listener) {
        m_notifier.SetListener(std::move(listener));
    }
    // Reads every value (absent ones take their defaults), then makes the current set's
    // home directory the process's current directory when it can.
    void Load(CProfileStore& store);
    // Writes every value; the window rectangle is the one the main window has now. False
    // when the store could not be written (its WriteError() says why).
    bool Save(CProfileStore& store, const QRect& windowRect);
    // Writes every value but the window rectangle; false as Save.
    bool SaveChanges(CProfileStore& store);

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
    void SetFitPicToWindow(int n) { Set(m_bFitPicToWindow, n); }
    int GetMoveFiles() const { return m_bMoveFiles; }
    void SetMoveFiles(int n) { Set(m_bMoveFiles, n); }
    int GetUseRecyclingBin() const { return m_bUseRecyclingBin; }
    void SetUseRecyclingBin(int n) { Set(m_bUseRecyclingBin, n); }
    // Whether a picture's companion files (sidecars, RAW or JPEG twin) go with it; stored
    // apart from the Config values, under [Sorting] MoveCompanionFiles.
    int GetMoveCompanionFiles() const { return m_bMoveCompanionFiles; }
    void SetMoveCompanionFiles(int n) { Set(m_bMoveCompanionFiles, n); }

    void AddFilterFlags(int bits) { Set(m_nFilterFlags, m_nFilterFlags | bits); }
    int IsFilterFlagSet(int bits) const { return (m_nFilterFlags & bits) != 0 ? 1 : 0; }
    void ClearFilterFlags() { Set(m_nFilterFlags, 0); }
    int GetFilterFlags() const { return m_nFilterFlags; }

    const CTargetSet& TargetSet(int n) const;

    // What the window showed when it was last left, under names of their own ([Window],
    // [Browse]): maximised or not, the file browser pane's width, the folder listed.
    bool GetMaximized() const { return m_bMaximized; }
    void SetMaximized(bool b) { Set(m_bMaximized, b); }
    int GetFileSelectWidth() const { return m_nFileSelectWidth; }
    void SetFileSelectWidth(int cx) { Set(m_nFileSelectWidth, cx); }
    // Whether the filmstrip of thumbnails shows below the picture ([Window] Filmstrip).
    bool GetShowFilmstrip() const { return m_bShowFilmstrip; }
    void SetShowFilmstrip(bool b) { Set(m_bShowFilmstrip, b); }
    // Whether the picture information panel is shown ([Window] ShowPictureInfo).
    bool GetShowPictureInfo() const { return m_bShowPictureInfo; }
    void SetShowPictureInfo(bool b) { Set(m_bShowPictureInfo, b); }
    // The order of the file list ([Browse] SortBy, by its name: Name, DateTaken,
    // DateModified, Size, Type; [Browse] SortDescending).
    static constexpr int kSortOrderCount = 5;
    int GetSortBy() const { return m_nSortBy; }
    void SetSortBy(int n) { Set(m_nSortBy, ClampSortOrder(n)); }
    bool GetSortDescending() const { return m_bSortDescending; }
    void SetSortDescending(bool b) { Set(m_bSortDescending, b); }
    QString GetLastFolder() const { return m_strLastFolder; }
    void SetLastFolder(const QString& dir) { Set(m_strLastFolder, dir); }
    // The folder to open at start: the last one listed while it is still there, else the
    // current set's home directory (empty when there is none).
    QString StartFolder() const;

    static QString SectionName(int nSet);  // "TargetSet01".."TargetSet04"
    static QString TargetNameEntry(int i); // "Target01Name".."Target20Name"
    static QString TargetDirEntry(int i);  // "Target01Dir".."Target20Dir"
    static int ClampSelectionSet(int n);   // any stored number into 0..3
    static int ClampSortOrder(int n);      // any number into 0..kSortOrderCount-1

private:
    template <class T> void Set(T& member, const T& value) {
        if (member == value)
            return;
        member = value;
        m_notifier.Notify();
    }
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
    bool m_bMaximized = false;
    int m_nFileSelectWidth = kDefaultFileSelectWidth;
    bool m_bShowFilmstrip = false;
    bool m_bShowPictureInfo = false;
    QString m_strLastFolder;
    int m_nSortBy = 0;
    bool m_bSortDescending = false;
    CChangeNotifier m_notifier; // last: see CChangeNotifier
};
