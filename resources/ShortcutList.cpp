#include "resources/ShortcutList.h"

#include <QCoreApplication>

#include "resources/CommandTable.h"
#include "resources/StringTable.h"

#include <QKeySequence>
#include <QStringList>

namespace commands {

namespace {

// What a command does: its status-bar prompt, else its menu text without the mnemonic.
QString Describe(int id) {
    QString what = strings::Prompt(id);
    if (what.isEmpty())
        what = QCoreApplication::translate("CommandTable", MenuText(id))
                   .section(QLatin1Char('\t'), 0, 0)
                   .remove('&');
    return what;
}

} // namespace

std::vector<ShortcutRow> ShortcutRows() {
    std::vector<ShortcutRow> rows;
    for (int id : AllCommandIds()) {
        QStringList keys;
        for (const Accelerator& a : MainAccelerators())
            if (a.id == id)
                keys.append(QKeySequence(a.key).toString(QKeySequence::NativeText));
        // A command that does nothing (Ctrl+C has no handler) has no text and is not listed.
        if (!keys.isEmpty() && !Describe(id).isEmpty())
            rows.push_back({keys.join(QStringLiteral(", ")), Describe(id)});
    }
    for (const PaneKey& k : PaneKeys())
        rows.push_back({QCoreApplication::translate("CommandTable", k.keys),
                        QCoreApplication::translate("CommandTable", k.what)});
    return rows;
}

} // namespace commands
