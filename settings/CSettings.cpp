#include "settings/CSettings.h"

#include "platform/system/CProfileStore.h"

#include <QFileInfo>

namespace {
const QString kConfig = QStringLiteral("Config");
const QString kHome = QStringLiteral("HomeDirectory");
// Switches added later live in a section of their own, beside the original nine values.
const QString kSorting = QStringLiteral("Sorting");
const QString kMoveCompanions = QStringLiteral("MoveCompanionFiles");
// What the window showed last.
const QString kWindow = QStringLiteral("Window");
const QString kMaximized = QStringLiteral("Maximized");
const QString kFileSelectWidth = QStringLiteral("FileSelectWidth");
const QString kFilmstrip = QStringLiteral("Filmstrip");
const QString kShowPictureInfo = QStringLiteral("ShowPictureInfo");
const QString kBrowse = QStringLiteral("Browse");
const QString kLastFolder = QStringLiteral("LastFolder");
const QString kSortBy = QStringLiteral("SortBy");
const QString kSortDescending = QStringLiteral("SortDescending");
// The stored names of the list's orders, in the order of CSettings::SortOrder.
const std::array<QString, CSettings::kSortOrderCount> kSortNames{
    QStringLiteral("Name"), QStringLiteral("DateTaken"), QStringLiteral("DateModified"),
    QStringLiteral("Size"), QStringLiteral("Type")};

// A stored order's number; an unknown name is the order by name.
int SortOrderNamed(const QString& name) {
    for (int i = 0; i < CSettings::kSortOrderCount; ++i)
        if (name.compare(kSortNames[i], Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Rectangles are stored as left, top, right, bottom with right and bottom exclusive,
// the way the window manager reports outer window rectangles.
QRect FromEdges(int x1, int y1, int x2, int y2) {
    return QRect(x1, y1, x2 - x1, y2 - y1);
}
} // namespace

QString CSettings::SectionName(int nSet) {
    return QStringLiteral("TargetSet") + TwoDigits(nSet + 1);
}
QString CSettings::TargetNameEntry(int i) {
    return QStringLiteral("Target") + TwoDigits(i + 1) + QStringLiteral("Name");
}
QString CSettings::TargetDirEntry(int i) {
    return QStringLiteral("Target") + TwoDigits(i + 1) + QStringLiteral("Dir");
}

int CSettings::ClampSelectionSet(int n) {
    return n < 0 ? 0 : (n >= kTargetSetCount ? kTargetSetCount - 1 : n);
}

void CSettings::Load(CProfileStore& store) {
    m_nFilterFlags =
        store.GetProfileInt(kConfig, QStringLiteral("FilterFlags"), kDefaultFilterFlags);
    // An index outside 0..3 (a hand-edited store) would select no tab and no set.
    m_nSelectionSet =
        ClampSelectionSet(store.GetProfileInt(kConfig, QStringLiteral("SelectionSet"), 0));
    m_bFitPicToWindow = store.GetProfileInt(kConfig, QStringLiteral("FitPicToWindow"), 0);
    m_bMoveFiles = store.GetProfileInt(kConfig, QStringLiteral("MoveFiles"), 1);
    m_bUseRecyclingBin = store.GetProfileInt(kConfig, QStringLiteral("UseRecyclingBin"), 1);
    m_bMoveCompanionFiles = store.GetProfileInt(kSorting, kMoveCompanions, 1);
    m_bMaximized = store.GetProfileInt(kWindow, kMaximized, 0) != 0;
    m_nFileSelectWidth = store.GetProfileInt(kWindow, kFileSelectWidth, kDefaultFileSelectWidth);
    m_bShowFilmstrip = store.GetProfileInt(kWindow, kFilmstrip, 0) != 0;
    m_bShowPictureInfo = store.GetProfileInt(kWindow, kShowPictureInfo, 0) != 0;
    m_strLastFolder = store.GetProfileString(kBrowse, kLastFolder, QString());
    m_nSortBy = SortOrderNamed(store.GetProfileString(kBrowse, kSortBy, kSortNames[0]));
    m_bSortDescending = store.GetProfileInt(kBrowse, kSortDescending, 0) != 0;

    for (int n = 0; n < kTargetSetCount; ++n) {
        const QString section = SectionName(n);
        CTargetSet& set = m_arrTargetSets[n];
        set.m_strHomeDirectory = store.GetProfileString(section, kHome, QString());
        for (int i = 0; i < kTargetCount; ++i) {
            set.m_astrNames[i] = store.GetProfileString(section, TargetNameEntry(i), kNoTargetName);
            set.m_astrDirs[i] = store.GetProfileString(section, TargetDirEntry(i), QString());
        }
    }

    const int y2 = store.GetProfileInt(kConfig, QStringLiteral("WindowY2"), 574);
    const int x2 = store.GetProfileInt(kConfig, QStringLiteral("WindowX2"), 784);
    const int y1 = store.GetProfileInt(kConfig, QStringLiteral("WindowY1"), 16);
    const int x1 = store.GetProfileInt(kConfig, QStringLiteral("WindowX1"), 16);
    m_rectWindow = FromEdges(x1, y1, x2, y2);
}

bool CSettings::Save(CProfileStore& store, const QRect& windowRect) {
    m_rectWindow = windowRect;
    store.WriteProfileInt(kConfig, QStringLiteral("WindowX1"), windowRect.left());
    store.WriteProfileInt(kConfig, QStringLiteral("WindowY1"), windowRect.top());
    store.WriteProfileInt(kConfig, QStringLiteral("WindowX2"),
                          windowRect.left() + windowRect.width());
    store.WriteProfileInt(kConfig, QStringLiteral("WindowY2"),
                          windowRect.top() + windowRect.height());
    return SaveChanges(store);
}

bool CSettings::SaveChanges(CProfileStore& store) {
    store.WriteProfileInt(kConfig, QStringLiteral("FilterFlags"), m_nFilterFlags);
    store.WriteProfileInt(kConfig, QStringLiteral("SelectionSet"), m_nSelectionSet);
    store.WriteProfileInt(kConfig, QStringLiteral("FitPicToWindow"), m_bFitPicToWindow);
    store.WriteProfileInt(kConfig, QStringLiteral("MoveFiles"), m_bMoveFiles);
    store.WriteProfileInt(kConfig, QStringLiteral("UseRecyclingBin"), m_bUseRecyclingBin);
    store.WriteProfileInt(kSorting, kMoveCompanions, m_bMoveCompanionFiles);

    for (int n = 0; n < kTargetSetCount; ++n) {
        const QString section = SectionName(n);
        const CTargetSet& set = m_arrTargetSets[n];
        store.WriteProfileString(section, kHome, set.m_strHomeDirectory);
        for (int i = 0; i < kTargetCount; ++i) {
            store.WriteProfileString(section, TargetNameEntry(i), set.m_astrNames[i]);
            store.WriteProfileString(section, TargetDirEntry(i), set.m_astrDirs[i]);
        }
    }

    store.WriteProfileInt(kWindow, kMaximized, m_bMaximized ? 1 : 0);
    store.WriteProfileInt(kWindow, kFileSelectWidth, m_nFileSelectWidth);
    store.WriteProfileInt(kWindow, kFilmstrip, m_bShowFilmstrip ? 1 : 0);
    store.WriteProfileInt(kWindow, kShowPictureInfo, m_bShowPictureInfo ? 1 : 0);
    store.WriteProfileString(kBrowse, kLastFolder, m_strLastFolder);
    store.WriteProfileString(kBrowse, kSortBy, kSortNames[ClampSortOrder(m_nSortBy)]);
    store.WriteProfileInt(kBrowse, kSortDescending, m_bSortDescending ? 1 : 0);
    return store.Flush();
}

QString CSettings::StartFolder() const {
    if (!m_strLastFolder.isEmpty() && QFileInfo(m_strLastFolder).isDir())
        return m_strLastFolder;
    return GetHomeDirectory();
}

CTargetSet& CSettings::Current() {
    return m_arrTargetSets[ClampSelectionSet(m_nSelectionSet)];
}
const CTargetSet& CSettings::Current() const {
    return m_arrTargetSets[ClampSelectionSet(m_nSelectionSet)];
}
const CTargetSet& CSettings::TargetSet(int n) const {
    return m_arrTargetSets[ClampSelectionSet(n)];
}

int CSettings::ClampSortOrder(int n) {
    return n < 0 || n >= kSortOrderCount ? 0 : n;
}

void CSettings::SetSelectionSet(int n) {
    Set(m_nSelectionSet, ClampSelectionSet(n));
}

QString CSettings::GetHomeDirectory() const {
    return Current().m_strHomeDirectory;
}
void CSettings::SetHomeDirectory(const QString& dir) {
    Set(Current().m_strHomeDirectory, dir);
}
QString CSettings::GetTargetName(int i) const {
    return Current().m_astrNames.at(i);
}
void CSettings::SetTargetName(int i, const QString& name) {
    Set(Current().m_astrNames.at(i), name);
}
QString CSettings::GetTargetDir(int i) const {
    return Current().m_astrDirs.at(i);
}
void CSettings::SetTargetDir(int i, const QString& dir) {
    Set(Current().m_astrDirs.at(i), dir);
}
