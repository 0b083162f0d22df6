#include "sorting/widgets/CPictureInfoPanel.h"

#include "picture/load/CMetadataLines.h"
#include "picture/load/CMetadataSource.h"
#include "resources/FileTypes.h"
#include "sorting/session/Companions.h"

#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {

// What the worker reads: the file's facts and the names of its companions.
PictureMetadata ReadFacts(const QString& path, const std::atomic<bool>* cancel) {
    PictureMetadata facts = CMetadataSource::Read(path, cancel);
    for (const QByteArray& companion : companions::Find(QFile::encodeName(path)))
        facts.companions.append(QFileInfo(QFile::decodeName(companion)).fileName());
    return facts;
}

} // namespace

CPictureInfoPanel::CPictureInfoPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CPictureInfoPanel"));
    setAccessibleName(tr("Picture Information"));
    m_pool.setMaxThreadCount(1);
    auto* layout = new QVBoxLayout(this);
    m_empty = new QLabel(tr("No picture"), this);
    m_empty->setWordWrap(true);
    layout->addWidget(m_empty);
    m_form = new QFormLayout;
    // A narrow pane: each label above its value, which wraps.
    m_form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addLayout(m_form);
    layout->addStretch(1);
    setMinimumWidth(fontMetrics().averageCharWidth() * 30);
}

CPictureInfoPanel::~CPictureInfoPanel() {
    if (m_pCancel)
        m_pCancel->store(true);
    m_pool.waitForDone();
}

void CPictureInfoPanel::ShowPicture(const QString& path) {
    if (m_pCancel)
        m_pCancel->store(true); // the helper still reading the last one is stopped
    m_pCancel = std::make_shared<std::atomic<bool>>(false);
    const quint64 generation = ++m_nGeneration;
    m_strPath = path;
    Clear();
    if (path.isEmpty()) {
        m_empty->setText(tr("No picture"));
        Q_EMIT Updated();
        return;
    }
    m_empty->setText(tr("Reading..."));
    QPointer<CPictureInfoPanel> self(this);
    const std::shared_ptr<std::atomic<bool>> cancel = m_pCancel;
    m_pool.start([self, path, cancel, generation] {
        const PictureMetadata facts = ReadFacts(path, cancel.get());
        if (cancel->load())
            return;
        QMetaObject::invokeMethod(
            self,
            [self, path, facts, generation] {
                if (self && self->m_nGeneration == generation)
                    self->ShowFacts(path, facts);
            },
            Qt::QueuedConnection);
    });
}

void CPictureInfoPanel::ShowFacts(const QString& path, const PictureMetadata& read) {
    m_strPath = path;
    Clear();
    PictureMetadata facts = read;
    if (facts.type.isEmpty() && facts.format != 0)
        facts.type = filetypes::Description(facts.format);
    const QList<CMetadataLines::SLine> lines = CMetadataLines::Lines(facts, locale());
    m_empty->setText(lines.isEmpty() ? tr("The file cannot be read.") : QString());
    m_empty->setVisible(lines.isEmpty());
    for (const CMetadataLines::SLine& line : lines)
        AddLine(line.label, line.value);
    Q_EMIT Updated();
}

QStringList CPictureInfoPanel::Lines() const {
    QStringList lines;
    for (int row = 0; row < m_form->rowCount(); ++row) {
        const auto* label =
            qobject_cast<QLabel*>(m_form->itemAt(row, QFormLayout::LabelRole)->widget());
        const auto* value =
            qobject_cast<QLabel*>(m_form->itemAt(row, QFormLayout::FieldRole)->widget());
        if (label && value)
            lines.append(label->text() + QStringLiteral(": ") + value->text());
    }
    return lines;
}

void CPictureInfoPanel::Clear() {
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    m_empty->setVisible(true);
}

void CPictureInfoPanel::AddLine(const QString& label, const QString& value) {
    auto* name = new QLabel(label, this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* text = new QLabel(value, this);
    text->setTextFormat(Qt::PlainText); // the file's words are never markup
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setAccessibleName(label + QStringLiteral(": ") + value);
    name->setBuddy(text);
    m_form->addRow(name, text);
}
