#pragma once

#include "platform/system/CNativePath.h"
#include "sorting/session/CSortSession.h"
#include "tests/support/FileOpTestBase.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

// Base of the sort-session tests: the scratch folders of the file-operation tests and, with
// every Reset, a new session whose questions the test answers through `ui`; pictures are
// named as in src/.
class SessionTestBase : public FileOpTestBase {
protected:
    using Names = QList<QByteArray>;

    void Reset() {
        FileOpTestBase::Reset();
        m_session = std::make_unique<CSortSession>();
        m_session->SetFileOpUi(&ui);
    }
    CSortSession& Session() const { return *m_session; }
    // The pictures listed, in this order, and the current one (none when it is not listed).
    void List(const Names& names, const QByteArray& current = {}) {
        Names paths;
        for (const QByteArray& name : names)
            paths << src + "/" + name;
        Session().SetPictures(paths, int(names.indexOf(current)));
    }
    Names Listed() const {
        Names names;
        for (const QByteArray& path : Session().Pictures())
            names << CNativePath::FileName(path);
        return names;
    }
    QByteArray Current() const { return CNativePath::FileName(Session().CurrentNative()); }
    // Waits until every action given has its outcome shown (the worker is done with it).
    bool Settle() const {
        return QTest::qWaitFor([this] { return Session().PendingActions() == 0; }, 20000);
    }
    // The outcome of the action just given (`bGiven`: what the call returned), once the
    // session shows it: whether every picture it chose went.
    bool Went(bool bGiven) const {
        if (!bGiven)
            return false;
        QSignalSpy finished(&Session(), &CSortSession::ActionFinished);
        if (!Settle() || finished.isEmpty())
            return false;
        const auto action = finished.last().at(0).value<SortAction>();
        if (!finished.last().at(1).value<CFileOpResult>().Succeeded())
            return false;
        if (action.kind == SortAction::Kind::Copy)
            return true; // a copy's pictures stay listed
        for (const QByteArray& file : action.files)
            if (Session().IndexOf(file) >= 0)
                return false;
        return true;
    }

private:
    std::unique_ptr<CSortSession> m_session;
};
