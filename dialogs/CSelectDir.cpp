#include "dialogs/CSelectDir.h"

#include "resources/templates/DirOpenTemplate.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>

namespace {

const QString kTitle = QStringLiteral("Select Directory");

// The folder list shows the path down to the directory on show, then its subfolders,
// each level indented below the one before: a tree that never collapses and so draws no
// expand marks.
class FolderTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
};

QWidget* MakeFolderList(const dlg::Control& c, QWidget* parent) {
    if (c.id != dlg::IDC_FOLDER_LIST)
        return nullptr;
    auto* tree = new FolderTree(parent);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setExpandsOnDoubleClick(false);
    tree->setUniformRowHeights(true);
    tree->setIndentation(tree->fontMetrics().averageCharWidth() * 2);
    return tree;
}

QString Clean(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

// The nearest directory at or above path that can be listed; the root at worst.
QString NearestListable(const QString& path) {
    QDir dir(path.isEmpty() ? QDir::rootPath() : Clean(path));
    while (!(dir.exists() && dir.isReadable()) && !dir.isRoot())
        if (!dir.cdUp())
            break;
    return dir.absolutePath();
}

// True when dir is root or lies below it.
bool IsWithin(const QString& dir, const QString& root) {
    if (root == QDir::rootPath())
        return true;
    return dir == root || dir.startsWith(root + QLatin1Char('/'));
}

} // namespace

CSelectDir::CSelectDir(QWidget* parent)
    : CTemplateDialog(dlg::DirOpenTemplate(), parent, MakeFolderList) {
    FolderList()->installEventFilter(this);
    // The path is read now; the list refills once the view has finished with the item.
    connect(FolderList(), &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, Qt::UserRole).toString();
        QMetaObject::invokeMethod(
            this, [this, path] { ChangeDir(path); }, Qt::QueuedConnection);
    });
    if (auto* drives = qobject_cast<QComboBox*>(Item(dlg::IDC_DRIVES)))
        connect(drives, &QComboBox::activated, this, &CSelectDir::OnDriveChosen);
}

void CSelectDir::PrepareDirDialog(bool bChangeDir) {
    m_szStartDir = QDir::currentPath();
    m_bChangeDir = bChangeDir;
}

bool CSelectDir::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    CenterWindow();
    SetItemText(dlg::IDC_FILE_NAME, QStringLiteral("a.*"));
    setWindowTitle(kTitle);
    m_strSelectedDir.clear();
    FillDrives();
    ChangeDir(NearestListable(m_szStartDir.isEmpty() ? QDir::currentPath() : m_szStartDir));
    return true;
}

void CSelectDir::OnOK() {
    m_strSelectedDir = QDir::toNativeSeparators(m_strCurrentDir);
    if (m_bChangeDir)
        QDir::setCurrent(m_strCurrentDir);
    CTemplateDialog::OnOK();
}

bool CSelectDir::ChangeDir(const QString& path) {
    if (path.isEmpty())
        return false;
    const QDir dir(Clean(path));
    if (!dir.exists() || !dir.isReadable())
        return false;
    m_strCurrentDir = dir.absolutePath();
    FillFolders();
    ShowCurrentDir();
    return true;
}

bool CSelectDir::eventFilter(QObject* watched, QEvent* event) {
    // Enter opens the selected folder, as a double click does, and does not close the picker.
    if (watched == FolderList() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (QTreeWidgetItem* item = FolderList()->currentItem())
                ChangeDir(item->data(0, Qt::UserRole).toString());
            return true;
        }
    }
    return CTemplateDialog::eventFilter(watched, event);
}

QTreeWidget* CSelectDir::FolderList() const {
    return qobject_cast<QTreeWidget*>(Item(dlg::IDC_FOLDER_LIST));
}

void CSelectDir::CenterWindow() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner)
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void CSelectDir::FillFolders() {
    QTreeWidget* tree = FolderList();
    tree->clear();
    QStringList chain; // the root first, the directory on show last
    for (QDir dir(m_strCurrentDir);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = nullptr;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, name);
        item->setIcon(0, open);
        item->setData(0, Qt::UserRole, path);
        parent = item;
    }
    const QDir current(m_strCurrentDir);
    const QStringList children =
        current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) {
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, child);
        item->setIcon(0, closed);
        item->setData(0, Qt::UserRole, current.absoluteFilePath(child));
    }
    tree->expandAll();
    tree->setCurrentItem(parent);
    // The path from the top, as far as it fits with the directory on show.
    tree->scrollToTop();
    tree->scrollToItem(parent);
}

void CSelectDir::FillDrives() {
    auto* drives = qobject_cast<QComboBox*>(Item(dlg::IDC_DRIVES));
    if (!drives)
        return;
    QStringList roots{QDir::rootPath(), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots.append(volume.rootPath());
    roots.removeDuplicates();
    roots.sort();
    drives->clear();
    for (const QString& root : roots)
        drives->addItem(QDir::toNativeSeparators(root), root);
}

void CSelectDir::ShowCurrentDir() {
    if (auto* label = qobject_cast<QLabel*>(Item(dlg::IDC_CURRENT_DIR))) {
        const QString path = QDir::toNativeSeparators(m_strCurrentDir);
        label->setText(label->fontMetrics().elidedText(path, Qt::ElideMiddle, label->width()));
        label->setToolTip(path);
    }
    // The drive list shows the drive that holds the directory: the deepest one containing it.
    if (auto* drives = qobject_cast<QComboBox*>(Item(dlg::IDC_DRIVES))) {
        int best = -1;
        for (int i = 0; i < drives->count(); ++i) {
            const QString root = drives->itemData(i).toString();
            if (IsWithin(m_strCurrentDir, root) &&
                (best < 0 || root.size() > drives->itemData(best).toString().size()))
                best = i;
        }
        drives->setCurrentIndex(best);
    }
}

void CSelectDir::OnDriveChosen(int index) {
    auto* drives = qobject_cast<QComboBox*>(Item(dlg::IDC_DRIVES));
    if (!ChangeDir(drives->itemData(index).toString()))
        ShowCurrentDir(); // an unreadable drive: the list goes back to the current one
}
