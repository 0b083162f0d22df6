#pragma once

#include "picture/load/CFitScale.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/view/CImageCtrl.h"

#include <QObject>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// An imaging control 200 x 100 on screen, driven as the picture list drives it: pictures
// shown fitted or at their own size, and fitted again when their pixels told their size.
class ImageCtrlFixture : public QObject {
protected:
    void SetUp() {
        m_ctrl = std::make_unique<CImageCtrl>();
        m_ctrl->resize(200, 100);
        m_ctrl->show();
        connect(m_ctrl.get(), &CImageCtrl::PictureInfoChanged, this, [this] {
            if (m_bFit)
                m_ctrl->FitPicture();
        });
    }
    void TearDown() {
        m_ctrl.reset();
        CDecoderClient::SetHelper(QString());
    }
    // Shows a picture and waits for its pixels; the scale it is fitted at (0 when not).
    int Show(const QString& path, bool fit) {
        m_bFit = fit;
        m_ctrl->ShowPicture(path, fit);
        if (!m_ctrl->WaitForPicture())
            qWarning("the picture did not arrive in time");
        return fit ? Percent() : 0;
    }
    // Fits the picture again; the scale it is fitted at.
    int Fit() {
        m_ctrl->FitPicture();
        return Percent();
    }
    int Percent() const {
        const CImageCtrl& c = *m_ctrl;
        return CFitScale::Percent(c.ClientWidth(), c.ClientHeight(), c.ImageWidth(),
                                  c.ImageHeight());
    }

    std::unique_ptr<CImageCtrl> m_ctrl;
    QTemporaryDir m_dir;
    bool m_bFit = false;
};
