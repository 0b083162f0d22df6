#include "sorting/CTarget.h"

#include "platform/CButtonTabBar.h"
#include "platform/CDialogBuilder.h"
#include "resources/templates/TargetTemplate.h"
#include "settings/CSettings.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>

namespace {
constexpr QSize kTabSize(18, 16);
constexpr QSize kTabPadding(5, 3);
constexpr int kHomeTarget = 20;
} // namespace

CTarget::CTarget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CTarget"));
    CDialogBuilder::Build(this, dlg::TargetTemplate(), [](const dlg::Control& c, QWidget* host) {
        return c.kind == dlg::Kind::TabControl ? new CButtonTabBar(host) : nullptr;
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
    for (int i = 0; i < dlg::kTargetButtons; ++i)
        onClick(dlg::IDC_TARGET1 + i, [this, i] { OnTarget(i); });
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
    for (int i = 0; i < dlg::kTargetButtons; ++i) {
        const int id = dlg::IDC_TARGET1 + i;
        CDialogBuilder::SetText(this, id, m_pSettings->GetTargetName(i));
        CDialogBuilder::Control(this, id)->setEnabled(!m_pSettings->GetTargetDir(i).isEmpty());
    }
    repaint();
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
}

void CTarget::OnSelchangeTabGroups(int index) {
    if (!m_pSettings || index < 0)
        return;
    m_pSettings->SetSelectionSet(index);
    UpdateButtons();
}

void CTarget::OnTarget(int i) {
    Q_EMIT SendToTarget(i);
}

void CTarget::OnHome() {
    Q_EMIT SendToTarget(kHomeTarget);
}

void CTarget::OnDelete() {
    Q_EMIT DeletePicture();
}
