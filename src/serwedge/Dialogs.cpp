#include "serwedge/Dialogs.h"

#include <QMessageBox>

namespace serwedge {

namespace {

class MessageBoxes : public Dialogs {
public:
    void message(QWidget* owner, const QString& title, const QString& text, Kind kind) override {
        switch (kind) {
        case Kind::Information:
            QMessageBox::information(owner, title, text);
            break;
        case Kind::Warning:
            QMessageBox::warning(owner, title, text);
            break;
        case Kind::Error:
            QMessageBox::critical(owner, title, text);
            break;
        }
    }
    bool question(QWidget* owner, const QString& title, const QString& text) override {
        return QMessageBox::question(owner, title, text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }
};

MessageBoxes& messageBoxes() {
    static MessageBoxes boxes;
    return boxes;
}

Dialogs* installed = nullptr;

} // namespace

Dialogs& Dialogs::current() {
    return installed ? *installed : messageBoxes();
}

void Dialogs::install(Dialogs* dialogs) {
    installed = dialogs;
}

} // namespace serwedge
