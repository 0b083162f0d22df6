#include "dialogs/CSelectDir.h"

#include "platform/ui/ShowMessage.h"
#include "resources/templates/DirOpenTemplate.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

const char* const kTitle = QT_TRANSLATE_NOOP("CSelectDir", "Select Directory");

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
    // As wide as the deepest name, so a deep folder can be scrolled to rather than cut off.
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
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
    QString candidate = path.isEmpty() ? QDir::rootPath() : Clean(path);
    for (;;) {
        const QDir dir(candidate);
        if ((dir.exists() && dir.isReadable()) || dir.isRoot())
            return dir.absolutePath();
        // By name, not by QDir::cdUp, which refuses to step out of a folder that is gone.
        const QString parent = QFileInfo(candidate).absolutePath();
        if (parent == candidate)
            return QDir::rootPath();
        candidate = parent;
    }
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
    PathEdit()->installEventFilter(this);
    OnCommand(dlg::IDC_NEW_FOLDER, [this] { OnNewFolder(); });
    // The path is read now; the list refills once the view has finished with the item.
    connect(FolderList(), &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, Qt::UserRole).toString();
        QMetaObject::invokeMethod(
            this, [this, path] { ChangeDir(path); }, Qt::QueuedConnection);
    });
    if (auto* drives = qobject_cast<QComboBox*>(Item(dlg::IDC_DRIVES)))
        connect(drives, &QComboBox::activated, this, &CSelectDir::OnDriveChosen);
}

void CSelectDir::PrepareDirDialog() {
    m_strSelectedDir.clear();
}

bool CSelectDir::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    WidenForTitle();
    CenterWindow();
    SetItemText(dlg::IDC_FILE_NAME, QStringLiteral("a.*"));
    setWindowTitle(m_strTitle.isEmpty() ? QCoreApplication::translate("CSelectDir", kTitle)
                                        : m_strTitle);
    m_strSelectedDir.clear();
    FillDrives();
    ChangeDir(NearestListable(m_strStartAt.isEmpty() ? QDir::homePath() : m_strStartAt));
    FolderList()->setFocus(Qt::OtherFocusReason);
    return false;
}

// A path typed and not yet gone to is the answer if it can be listed; otherwise the
// folder highlighted in the list.
void CSelectDir::OnOK() {
    if (PathTyped() && !GoToTypedPath())
        return;
    const QString answer = HighlightedDir();
    m_strSelectedDir = QDir::toNativeSeparators(answer);
    CTemplateDialog::OnOK();
}

QString CSelectDir::HighlightedDir() const {
    const QTreeWidgetItem* item = FolderList()->currentItem();
    const QString path = item ? item->data(0, Qt::UserRole).toString() : QString();
    return path.isEmpty() ? m_strCurrentDir : path;
}

QLineEdit* CSelectDir::PathEdit() const {
    return qobject_cast<QLineEdit*>(Item(dlg::IDC_CURRENT_DIR));
}

bool CSelectDir::PathTyped() const {
    const QString typed = PathEdit()->text().trimmed();
    return !typed.isEmpty() && Clean(QDir::fromNativeSeparators(typed)) != m_strCurrentDir;
}

bool CSelectDir::GoToTypedPath() {
    const QString typed = QDir::fromNativeSeparators(PathEdit()->text().trimmed());
    if (ChangeDir(typed))
        return true;
    ShowMessage(this, QCoreApplication::translate(
                          "CSelectDir", "The folder \"%1\" does not exist or cannot be read.")
                          .arg(QDir::toNativeSeparators(typed)));
    PathEdit()->setFocus();
    return false;
}

bool CSelectDir::MakeFolder(const QString& name) {
    const QString plain = name.trimmed();
    if (plain.isEmpty() || plain == QLatin1String(".") || plain == QLatin1String("..") ||
        plain.contains(QLatin1Char('/'))) {
        ShowMessage(
            this,
            QCoreApplication::translate("CSelectDir", "\"%1\" is not a folder name.").arg(name));
        return false;
    }
    const QString parent = HighlightedDir();
    if (parent != m_strCurrentDir && !ChangeDir(parent))
        return false;
    QDir here(m_strCurrentDir);
    if (here.exists(plain)) {
        ShowMessage(this, QCoreApplication::translate(
                              "CSelectDir", "A folder or file named \"%1\" is already there.")
                              .arg(plain));
        return false;
    }
    if (!here.mkdir(plain)) {
        ShowMessage(this, QCoreApplication::translate("CSelectDir",
                                                      "The folder \"%1\" could not be made in %2.")
                              .arg(plain, QDir::toNativeSeparators(m_strCurrentDir)));
        return false;
    }
    FillFolders();
    const QString made = here.absoluteFilePath(plain);
    QTreeWidgetItemIterator it(FolderList());
    for (; *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == made)
            FolderList()->setCurrentItem(*it);
    return true;
}

void CSelectDir::OnNewFolder() {
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, QCoreApplication::translate("CSelectDir", "New Folder"),
        QCoreApplication::translate("CSelectDir", "Name of the new folder:"), QLineEdit::Normal,
        QCoreApplication::translate("CSelectDir", "New Folder"), &ok);
    if (ok)
        MakeFolder(name);
    FolderList()->setFocus();
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
    // Enter opens the selected folder, as a double click does; on the folder already on
    // show it chooses that folder, as OK does. In the path, Enter goes to the typed folder.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && watched == FolderList()) {
            const QString target = HighlightedDir();
            if (target == m_strCurrentDir)
                OnOK();
            else
                ChangeDir(target);
            return true;
        }
        if (enter && watched == PathEdit()) {
            if (PathTyped())
                GoToTypedPath();
            else
                OnOK();
            return true;
        }
    }
    return CTemplateDialog::eventFilter(watched, event);
}

QTreeWidget* CSelectDir::FolderList() const {
    return qobject_cast<QTreeWidget*>(Item(dlg::IDC_FOLDER_LIST));
}

// A caption that names a destination is longer than the template's width: the dialog
// grows so that a window manager can show it whole (bold, beside its buttons).
void CSelectDir::WidenForTitle() {
    if (m_strTitle.isEmpty())
        return;
    QFont bold = font();
    bold.setBold(true);
    const int wanted = QFontMetrics(bold).horizontalAdvance(m_strTitle) * 11 / 10 +
                       fontMetrics().height() * 6; // the window manager's icon and buttons
    if (width() < wanted)
        setFixedSize(wanted, height());
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
    ScrollToCurrent();
}

void CSelectDir::showEvent(QShowEvent* event) {
    CTemplateDialog::showEvent(event);
    ScrollToCurrent(); // the list has its size only now
}

void CSelectDir::ScrollToCurrent() {
    QTreeWidget* tree = FolderList();
    QTreeWidgetItem* folder = tree->currentItem();
    if (!folder)
        return;
    // The path from the top, as far as it fits with the directory on show and as many of
    // its subfolders as fit below it: deep in a hierarchy the path gives way, never the
    // folders to choose from.
    tree->scrollToTop();
    if (folder->childCount() > 0)
        tree->scrollToItem(folder->child(folder->childCount() - 1));
    tree->scrollToItem(folder);
    // Sideways, the folder on show starts at the left edge when its indentation would push
    // it and its subfolders out of sight.
    QScrollBar* sideways = tree->horizontalScrollBar();
    const QRect shown = tree->visualItemRect(folder);
    sideways->setValue(shown.right() > tree->viewport()->width()
                           ? sideways->value() + shown.left() - tree->indentation()
                           : 0);
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
    if (QLineEdit* edit = PathEdit()) {
        const QString path = QDir::toNativeSeparators(m_strCurrentDir);
        edit->setText(path);
        edit->setToolTip(path);
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
