#pragma once

// Shared set-up of the main-window tests: an offscreen application, dialogs that are recorded
// instead of shown, a settings store in memory, simulated ports and recording key and sound
// back-ends.

#include "../rs232/SerialTestSupport.h"

#include "platform/PercussionPlayer.h"
#include "platform/recording/RecordingKeyInjector.h"
#include "platform/recording/RecordingPercussionPlayer.h"
#include "serwedge/Dialogs.h"
#include "serwedge/EventLog.h"
#include "serwedge/SettingsTabs.h"
#include "serwedge/WeightToKeyFrame2.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/util/TallyraBundle.h"
#include "worker/Keybot.h"
#include "worker/WorkerBundle.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace windowtest {

inline bool pumpUntil(const std::function<bool()>& condition, int boundMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < boundMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}

inline void pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Shown {
    QString title;
    QString text;
    serwedge::Dialogs::Kind kind;
};

class RecordedDialogs : public serwedge::Dialogs {
public:
    void message(QWidget*, const QString& title, const QString& text, Kind kind) override {
        shown.push_back({title, text, kind});
        if (onShown)
            onShown();
    }
    bool question(QWidget*, const QString& title, const QString& text) override {
        shown.push_back({title, text, Kind::Information});
        if (onShown)
            onShown();
        return answer;
    }
    QString saveFileName(QWidget*, const QString&, const QString& proposed,
                         const QString&) override {
        proposedName = proposed;
        return saveAnswer;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return openAnswer; }

    std::vector<Shown> shown;
    bool answer = true;
    // File dialogs: the chosen path, "" for cancel.
    QString saveAnswer, openAnswer, proposedName;
    // Runs while a message or question is on screen.
    std::function<void()> onShown;
};

// A store in memory that refuses access on demand (reading, writing or both).
class GuardedPreferences : public serwedge::prefs::MemoryPreferences {
public:
    struct Refusals {
        bool reads = false;
        bool writes = false;
    };
    explicit GuardedPreferences(Refusals* refusals) : refusals_(refusals) {}

protected:
    GuardedPreferences(GuardedPreferences* parent, const QString& name, Refusals* refusals)
        : MemoryPreferences(parent, name), refusals_(refusals) {}
    QString getSpi(const QString& key, bool* found) const override {
        if (refusals_->reads)
            throw serwedge::prefs::AccessDeniedError(QStringLiteral("reading refused"));
        return MemoryPreferences::getSpi(key, found);
    }
    void putSpi(const QString& key, const QString& value) override {
        if (refusals_->writes)
            throw serwedge::prefs::AccessDeniedError(QStringLiteral("writing refused"));
        MemoryPreferences::putSpi(key, value);
    }
    Preferences& childSpi(const QString& name) override {
        return adopt(std::unique_ptr<Preferences>(new GuardedPreferences(this, name, refusals_)));
    }

private:
    Refusals* refusals_;
};

class WindowFixture : public serialtest::SerialFixture {
protected:
    using Frame = serwedge::WeightToKeyFrame2;

    void SetUp() override {
        SerialFixture::SetUp();
        props::remove("TALLYRA_UPDATE_URL");
        serwedge::isClosing = false;
        serwedge::Dialogs::install(&dialogs);
        injector = std::make_shared<platform::RecordingKeyInjector>();
        Frame::setTrayAvailable(false);
        serwedge::worker::Keybot::queue().clear();
    }

    void TearDown() override {
        frame.reset();
        serwedge::Dialogs::install(nullptr);
        Frame::setTrayAvailable(std::nullopt);
        serwedge::worker::Keybot::queue().clear();
        props::remove("SERIAL_PORT_LIST");
        forgetListedPorts();
        SerialFixture::TearDown();
    }

    // Opening a port adds its name to the process's port list; a listing that finds no device
    // empties it, so that the next test starts from its own ports.
    static void forgetListedPorts() {
        serdrv_sim_destroy_all();
        QTemporaryDir none;
        qputenv("SERDRV_SYSFS_ROOT", none.path().toUtf8());
        rs232::SerialPortLocal::getPortList();
        qunsetenv("SERDRV_SYSFS_ROOT");
    }

    serwedge::prefs::Preferences& node() {
        return root.node(QStringLiteral("/com/brindle/Tallyra"));
    }

    // Two simulated ports, listed in this order.
    void twoPorts() {
        serdrv_sim_create("SIMA");
        serdrv_sim_create("SIMB");
        props::set("SERIAL_PORT_LIST", "SIMA;SIMB");
    }

    Frame& build(QStringList args = {}) {
        Frame::Options o;
        o.args = std::move(args);
        o.show = false;
        o.openStore = [this] { return serwedge::prefs::SettingsStore(root); };
        if (libraryMissing)
            o.libraryLoaded = [] { return false; };
        o.checkedCatalogue = checkedCatalogue;
        o.injectorFactory = [this] {
            if (injectorFails)
                throw platform::KeyInjectorError("no keystroke facility here");
            return injector;
        };
        o.playerFactory = [this]() -> std::unique_ptr<platform::PercussionPlayer> {
            if (soundFails)
                throw platform::PercussionError("no synthesizer here");
            auto p = std::make_unique<platform::RecordingPercussionPlayer>();
            player = p.get();
            return p;
        };
        frame = std::make_unique<Frame>(o);
        return *frame;
    }

    QString logText() const { return frame->eventLog()->toPlainText(); }

    static QString t(const char* key) { return serwedge::tallyraBundle().getString(key); }

    std::vector<QString> tabTitles() const {
        std::vector<QString> titles;
        for (int i = 0; i < frame->tabs()->count(); ++i)
            titles.push_back(frame->tabs()->tabText(i));
        return titles;
    }

    bool dialogShown(const QString& textStart) const {
        for (const Shown& s : dialogs.shown)
            if (s.text.startsWith(textStart))
                return true;
        return false;
    }

    GuardedPreferences::Refusals refusals;
    GuardedPreferences root{&refusals};
    RecordedDialogs dialogs;
    std::shared_ptr<platform::RecordingKeyInjector> injector;
    platform::RecordingPercussionPlayer* player = nullptr;
    bool injectorFails = false;
    bool soundFails = false;
    bool libraryMissing = false;
    const serwedge::Catalogue* checkedCatalogue = nullptr;
    std::unique_ptr<Frame> frame;
};

} // namespace windowtest
