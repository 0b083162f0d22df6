#pragma once

#include "platform/system/CNativePath.h"
#include "sorting/session/CSortSession.h"
#include "tests/support/FileOpTestBase.h"

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

private:
    std::unique_ptr<CSortSession> m_session;
};
