#pragma once

#include "picture/format/PictureMetadata.h"

#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QWidget>
#include <atomic>
#include <memory>

class QFormLayout;
class QLabel;

// The side panel that tells what a picture's file says about it: when it was taken, the
// camera, the exposure, its size, the file, where it was taken and the files that go with
// it. Every value is selectable text with an accessible name that carries its label. The
// file is read on a worker (the camera's record through the decoder helper), so stepping
// through pictures never waits for it; a reading overtaken by the next picture is dropped.
class CPictureInfoPanel : public QWidget {
    Q_OBJECT
public:
    explicit CPictureInfoPanel(QWidget* parent = nullptr);
    ~CPictureInfoPanel() override; // stops the reading and waits for its worker

    // Shows the facts of the picture at `path` once they are read; empty: no picture.
    void ShowPicture(const QString& path);
    QString Path() const { return m_strPath; }
    // The lines shown, "label: value" each (tests, screen-reader checks).
    QStringList Lines() const;
    // Shows `facts` of `path` at once (the worker's result arrives here).
    void ShowFacts(const QString& path, const PictureMetadata& facts);

Q_SIGNALS:
    // The lines now show the facts of Path().
    void Updated();

private:
    void Clear();
    void AddLine(const QString& label, const QString& value);

    QFormLayout* m_form = nullptr;
    QLabel* m_empty = nullptr; // "No picture", "Reading..."
    QString m_strPath;
    quint64 m_nGeneration = 0;
    std::shared_ptr<std::atomic<bool>> m_pCancel;
    QThreadPool m_pool;
};
