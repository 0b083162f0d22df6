#include "sorting/widgets/CTarget.h"

#include "platform/ui/CButtonTabBar.h"
#include "platform/ui/CDialogBuilder.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "resources/templates/TargetTemplate.h"
#include "settings/CSettings.h"
#include "sorting/widgets/CTargetButton.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace {
constexpr QSize kTabSize(18, 16);
constexpr QSize kTabPadding(5, 3);
constexpr int kHomeTarget = 20;
constexpr qreal kModeScale = 0.85; // the mode's word beside the tabs, to the usual font

// The mode's word in the row of tabs is drawn smaller where a longer word (another
// language) would not fit the room there, down to three fifths of its usual size.
void FitModeFont(QLabel* label, qreal usualPointSize) {
    QFont font = label->font();
    font.setPointSizeF(usualPointSize);
    const qreal smallest = usualPointSize * 0.6;
    while (font.pointSizeF() > smallest &&
           QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
        font.setPointSizeF(std::max(smallest, font.pointSizeF() - 0.25));
    label->setFont(font);
}
} // namespace

CTarget::CTarget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CTarget"));
    CDialogBuilder::Build(
        this, dlg::TargetTemplate(), [](const dlg::Control& c, QWidget* host) -> QWidget* {
            if (c.kind == dlg::Kind::TabControl)
                return new CButtonTabBar(host);
            if (c.kind == dlg::Kind::PushButton) // Delete, the destinations and Home
                return new CTargetButton(QCoreApplication::translate("DialogTemplate", c.text),
                                         host);
            return nullptr;
        });
    m_tabGroups = CDialogBuilder::ControlAs<CButtonTabBar>(this, dlg::IDC_TAB_GROUPS);
    m_tabGroups->lower(); // behind the buttons, which lie on it
    connect(m_tabGroups, &QTabBar::currentChanged, this, &CTarget::OnSelchangeTabGroups);

    auto onClick = [this](int id, auto handler) {
        connect(CDialogBuilder::ControlAs<QPushButton>(this, id), &QPushButton::clicked, this,
                handler);
    };
    onClick(dlg::IDC_HOME, [this] { OnHome(); });
    onClick(dlg::IDC_DELETE, [this] { OnDelete(); });
    for (int i = 0; i < dlg::kTargetButtons; ++i) {
        onClick(dlg::IDC_TARGET1 + i, [this, i] { OnTarget(i); });
        CTargetButton* button = TargetButton(i);
        button->SetKeyText(KeyLabel(i));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(
            button, &QWidget::customContextMenuRequested, this,
            [this, i, button](const QPoint& pos) { ShowContextMenu(i, button->mapToGlobal(pos)); });
        connect(button, &CTargetButton::FolderDropped, this,
                [this, i](const QString& path) { Q_EMIT FolderDropped(i, path); });
    }

    m_labelMode = new QLabel(this);
    m_labelMode->setObjectName(QStringLiteral("modeLabel"));
    m_labelMode->setAlignment(Qt::AlignCenter);
    m_labelMode->setCursor(Qt::PointingHandCursor);
    m_labelMode->setToolTip(
        QCoreApplication::translate("CTarget", "Click to change it in Program Config"));
    QFont small = m_labelMode->font();
    small.setPointSizeF(small.pointSizeF() * kModeScale);
    m_labelMode->setFont(small);
    m_labelMode->installEventFilter(this);
}

CTargetButton* CTarget::TargetButton(int i) const {
    return CDialogBuilder::ControlAs<CTargetButton>(this, dlg::IDC_TARGET1 + i);
}

QString CTarget::KeyLabel(int i) {
    const QKeyCombination key = commands::PrimaryKey(cmd::ID_SEND_TO_TARGET1 + i);
    if (key.key() == Qt::Key_unknown)
        return QString();
    QString text = QKeySequence(key).toString(QKeySequence::NativeText);
    // "Ctrl+" as the key names read in the user's language ("Strg+" in German).
    const QString ctrl =
        QKeySequence(Qt::CTRL | Qt::Key_A).toString(QKeySequence::NativeText).chopped(1);
    return text.replace(ctrl, QStringLiteral("^"));
}

void CTarget::OnInitialUpdate() {
    m_tabGroups->SetItemSize(kTabSize);
    m_tabGroups->SetPadding(kTabPadding);
    {
        const QSignalBlocker quiet(m_tabGroups); // inserting tabs is no change of group
        for (int n = 0; n < kTargetSetCount; ++n)
            m_tabGroups->insertTab(n, QString::number(n + 1));
    }
    UpdateButtons();
}

void CTarget::UpdateButtons() {
    if (!m_pSettings)
        return;
    {
        const QSignalBlocker quiet(m_tabGroups); // showing the group is no change of it
        m_tabGroups->setCurrentIndex(m_pSettings->GetSelectionSet());
    }
    CDialogBuilder::Control(this, dlg::IDC_HOME)
        ->setEnabled(!m_pSettings->GetHomeDirectory().isEmpty());
    for (int i = 0; i < dlg::kTargetButtons; ++i)
        UpdateTarget(i);
    m_labelMode->setText(m_pSettings->GetMoveFiles() != 0
                             ? QCoreApplication::translate("CTarget", "Move")
                             : QCoreApplication::translate("CTarget", "Copy"));
    FitModeFont(m_labelMode, font().pointSizeF() * kModeScale);
    repaint();
}

// An unset destination stays clickable, drawn dimmer: its click chooses the folder.
void CTarget::UpdateTarget(int i) {
    CTargetButton* button = TargetButton(i);
    // The stored "< None >" is shown in the user's language.
    const QString stored = m_pSettings->GetTargetName(i);
    const QString name = stored == kNoTargetName
                             ? QCoreApplication::translate("DialogTemplate", "< None >")
                             : stored;
    const QString dir = m_pSettings->GetTargetDir(i);
    button->setText(name);
    button->SetUnset(dir.isEmpty());
    const QString key = QKeySequence(commands::PrimaryKey(cmd::ID_SEND_TO_TARGET1 + i))
                            .toString(QKeySequence::NativeText);
    const QString where =
        dir.isEmpty() ? QCoreApplication::translate("CTarget", "No folder yet: click to choose one")
                      : QDir::toNativeSeparators(dir);
    button->setToolTip(QStringLiteral("%1: %2\n%3").arg(key, name, where));
}

void CTarget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

// One column of equal destination buttons, centred between Delete and Home, which are half
// as high again; the top 20 pixels are left to the row of tabs.
void CTarget::OnSize(int cx, int cy) {
    QWidget* deleteButton = CDialogBuilder::Control(this, dlg::IDC_DELETE);
    if (!deleteButton || cy <= 24)
        return;
    const int d = (cy - 20) / 23;
    const int e = static_cast<int>(d * 1.5);
    m_tabGroups->setGeometry(0, 2, cx, cy - 2);
    deleteButton->setGeometry(0, 20, cx, e);
    int y = e + (cy - 2 * e - 20 * d - 20) / 2 + 20;
    for (int i = 0; i < dlg::kTargetButtons; ++i) {
        CDialogBuilder::Control(this, dlg::IDC_TARGET1 + i)->setGeometry(0, y, cx, d);
        y += d;
    }
    CDialogBuilder::Control(this, dlg::IDC_HOME)->setGeometry(0, cy - e, cx, e);
    // The mode sits in the row of tabs, after the last one (left of it right to left).
    const int tabs = m_tabGroups->count();
    const QRect last = tabs > 0 ? m_tabGroups->tabRect(tabs - 1) : QRect();
    if (isRightToLeft()) {
        const int right = tabs > 0 ? last.left() - 3 : cx;
        m_labelMode->setGeometry(0, 1, std::max(0, right), 18);
    } else {
        const int left = tabs > 0 ? last.right() + 3 : 0;
        m_labelMode->setGeometry(left, 1, std::max(0, cx - left), 18);
    }
    FitModeFont(m_labelMode, font().pointSizeF() * kModeScale);
    m_labelMode->raise();
}

bool CTarget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_labelMode && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Q_EMIT ModeClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CTarget::ShowContextMenu(int i, const QPoint& globalPos) {
    const bool set = m_pSettings && !m_pSettings->GetTargetDir(i).isEmpty();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("targetMenu"));
    connect(menu.addAction(QCoreApplication::translate("CTarget", "Set Folder...")),
            &QAction::triggered, this, [this, i] { Q_EMIT SetFolderRequested(i); });
    connect(menu.addAction(QCoreApplication::translate("CTarget", "Rename...")),
            &QAction::triggered, this, [this, i] { Q_EMIT RenameRequested(i); });
    QAction* open = menu.addAction(QCoreApplication::translate("CTarget", "Open Folder"));
    open->setEnabled(set);
    connect(open, &QAction::triggered, this, [this, i] { Q_EMIT OpenFolderRequested(i); });
    QAction* clear = menu.addAction(QCoreApplication::translate("CTarget", "Clear"));
    clear->setEnabled(set);
    connect(clear, &QAction::triggered, this, [this, i] { Q_EMIT ClearRequested(i); });
    menu.exec(globalPos);
}

void CTarget::OnSelchangeTabGroups(int index) {
    if (!m_pSettings || index < 0)
        return;
    m_pSettings->SetSelectionSet(index);
    UpdateButtons();
}

void CTarget::OnTarget(int i) {
    if (TargetButton(i)->IsUnset())
        Q_EMIT SetFolderRequested(i);
    else
        Q_EMIT SendToTarget(i);
}

void CTarget::OnHome() {
    Q_EMIT SendToTarget(kHomeTarget);
}

void CTarget::OnDelete() {
    Q_EMIT DeletePicture();
}
