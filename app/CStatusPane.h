#pragma once

#include <QFrame>
#include <QStaticText>
#include <memory>

class CPlainText;
class QPainter;

// One pane of the status bar: a line of text, cut off at the pane's edge. Its size never
// depends on its text, so a new text repaints the pane alone and never lays the status
// bar out again (the file count and the picture's description change with every file).
class CStatusPane : public QFrame {
    Q_OBJECT
public:
    explicit CStatusPane(const QString& text = QString(), QWidget* parent = nullptr);
    ~CStatusPane() override;

    void SetText(const QString& text);
    QString Text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect ChangedArea(const QString& before, const QString& after) const;
    qreal Advance(const QString& text, qsizetype from, qsizetype to) const;
    const CPlainText& Plain() const;
    void DrawLettersIn(QPainter& painter, QPointF baseline, const QRect& exposed) const;
    int Indent() const;

    QString m_text;
    QStaticText m_layout;
    mutable std::unique_ptr<CPlainText> m_plain; // in the pane's font, made when first needed
};
