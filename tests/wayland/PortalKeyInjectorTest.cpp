// The RemoteDesktop portal back-end against a stand-in portal on a private session bus: the
// order and options of the calls, the restore token, the user's refusal, and the key symbols
// each keyboard type sends, checked by typing them on the paired layout as a desktop would.

#include "StandInPortal.h"

#include "config/ConfigHelper.h"
#include "keys/KeyCodes.h"
#include "platform/portal/PortalKeyInjector.h"
#include "props/Props.h"
#include "worker/KeyInjectorChoice.h"
#include "worker/Keybot.h"

#include "../support/ImportantEventsView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <QThread>

#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using serwedge::config::ConfigHelper::KeyboardType;
using serwedge::config::ConfigHelper::KeyMapType;
using serwedge::worker::Keybot;
using serwedge::worker::KeybotThread;
namespace K = serwedge::config::KeyCodes;

namespace {

// A desktop typing key symbols: each symbol is pressed on the key that has it in the layout's
// first level (the modifiers held choose the level) and composed as a client would.
std::string typeOnLayout(const char* layout, const char* variant,
                         const std::vector<std::pair<int, unsigned>>& keysyms) {
    xkb_context* ctx = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{nullptr, nullptr, layout, variant, nullptr};
    xkb_keymap* keymap = xkb_keymap_new_from_names(ctx, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_state* state = xkb_state_new(keymap);
    xkb_compose_table* table =
        xkb_compose_table_new_from_locale(ctx, "C.UTF-8", XKB_COMPOSE_COMPILE_NO_FLAGS);
    xkb_compose_state* compose = xkb_compose_state_new(table, XKB_COMPOSE_STATE_NO_FLAGS);
    const auto keyOf = [&](xkb_keysym_t sym) -> xkb_keycode_t {
        for (xkb_keycode_t kc = 8; kc < 256; ++kc) {
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap, kc, 0, 0, &syms) > 0 && syms[0] == sym)
                return kc;
        }
        return 0;
    };
    std::string text;
    for (const auto& [sym, pressed] : keysyms) {
        const xkb_keycode_t kc = keyOf(static_cast<xkb_keysym_t>(sym));
        if (kc != 0 && xkb_keymap_key_repeats(keymap, kc) == 0) { // a modifier
            xkb_state_update_key(state, kc, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
            continue;
        }
        if (!pressed)
            continue;
        // A symbol missing from the first level is typed as itself, with the level it needs.
        const xkb_keysym_t typed =
            kc != 0 ? xkb_state_key_get_one_sym(state, kc) : static_cast<xkb_keysym_t>(sym);
        xkb_compose_state_feed(compose, typed);
        char utf8[16] = {};
        switch (xkb_compose_state_get_status(compose)) {
        case XKB_COMPOSE_COMPOSED:
            xkb_compose_state_get_utf8(compose, utf8, sizeof utf8);
            xkb_compose_state_reset(compose);
            break;
        case XKB_COMPOSE_NOTHING:
            xkb_keysym_to_utf8(typed, utf8, sizeof utf8);
            break;
        default:
            break;
        }
        text += utf8;
    }
    xkb_compose_state_unref(compose);
    xkb_compose_table_unref(table);
    xkb_state_unref(state);
    xkb_keymap_unref(keymap);
    xkb_context_unref(ctx);
    return text;
}

// The keymap of a layout in the text format, as a compositor hands it to its clients.
std::string keymapText(const char* layout, const char* variant) {
    xkb_context* ctx = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{nullptr, nullptr, layout, variant, nullptr};
    xkb_keymap* keymap = xkb_keymap_new_from_names(ctx, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    std::string result = text;
    free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(ctx);
    return result;
}

class PortalKeyInjectorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "portal_key_injector_test";
        static char* argv[] = {name, nullptr};
        app_ = new QCoreApplication(argc, argv);
        QStandardPaths::setTestModeEnabled(true);
        // A private session bus, its address read from the daemon's first line.
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        daemon_ = fork();
        if (daemon_ == 0) {
            dup2(out[1], 1);
            execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile",
                   "--print-address", nullptr);
            _exit(127);
        }
        close(out[1]);
        pollfd ready{out[0], POLLIN, 0};
        char line[512] = {};
        ASSERT_GT(poll(&ready, 1, 10000), 0) << "dbus-daemon did not start";
        ASSERT_GT(read(out[0], line, sizeof line - 1), 0);
        close(out[0]);
        address_ = QString::fromLatin1(line).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toLatin1());

        thread_ = new QThread;
        thread_->start();
        portal_ = new e2e::StandInPortal;
        QDBusConnection bus = QDBusConnection::connectToBus(address_, QStringLiteral("stand-in"));
        ASSERT_TRUE(bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                                              portal_, QDBusConnection::SubPath));
        portal_->moveToThread(thread_); // it answers while the test waits for the typing
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }
    static void TearDownTestSuite() {
        thread_->quit();
        thread_->wait();
        delete portal_;
        delete thread_;
        QDBusConnection::disconnectFromBus(QStringLiteral("stand-in"));
        kill(daemon_, SIGTERM);
        waitpid(daemon_, nullptr, 0);
        delete app_;
    }
    void SetUp() override { Keybot::queue().clear(); }

    // Types the values, each followed by ENTER, at delay 0 and waits until they are typed.
    void type(const std::shared_ptr<platform::KeyInjector>& injector, KeyboardType keyboard,
              KeyMapType map, const std::vector<QString>& values) {
        KeybotThread thread(
            std::make_shared<Keybot>(0, 0, K::ENTER, 0, 0, keyboard, map, &view_, injector));
        for (const QString& v : values)
            Keybot::add(v);
        EXPECT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(30)));
    }

    static inline QCoreApplication* app_ = nullptr;
    static inline pid_t daemon_ = -1;
    static inline QString address_;
    static inline QThread* thread_ = nullptr;
    static inline e2e::StandInPortal* portal_ = nullptr;
    test_support::ImportantEventsView view_;
};

} // namespace

TEST_F(PortalKeyInjectorTest, eachKeyboardTypeTypesItsTableOnItsLayoutThroughTheSessionAsked) {
    struct Case {
        KeyboardType::Value type;
        const char* layout;
        const char* variant;
    };
    const std::vector<Case> cases = {{KeyboardType::QUERTY, "us", ""},
                                     {KeyboardType::US_INTERNATIONAL, "us", "intl"},
                                     {KeyboardType::GERMAN, "de", ""},
                                     {KeyboardType::AZERTY, "fr", ""},
                                     {KeyboardType::ALL, "de", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(KeyboardType(c.type).name().toStdString());
        portal_->reset(false);
        {
            platform::PortalOptions options;
            options.busAddress = address_.toStdString();
            options.layoutKeymap = keymapText(c.layout, c.variant);
            auto injector = std::make_shared<platform::PortalKeyInjector>(options);
            QString value;
            for (const auto& [ch, codes] :
                 KeyboardType::getKeymap(c.type, KeyMapType::ALPHANUMERIC_COMPLETE))
                value += QChar(ch);
            type(injector, c.type, KeyMapType::ALPHANUMERIC_COMPLETE,
                 {value, QStringLiteral("-1,5")});
            EXPECT_EQ(QString::fromStdString(
                          typeOnLayout(c.layout, c.variant, portal_->record().keysyms)),
                      value + QStringLiteral("\r-1,5\r"));
        }
        const auto record = portal_->record();
        ASSERT_GE(record.calls.size(), 5u);
        EXPECT_EQ(std::vector<QString>(record.calls.begin(), record.calls.begin() + 3),
                  (std::vector<QString>{"CreateSession", "SelectDevices", "Start"}));
        EXPECT_EQ(record.calls.back(), QStringLiteral("Close"));
        EXPECT_EQ(std::count(record.calls.begin(), record.calls.end(), "NotifyKeyboardKeysym"),
                  static_cast<long>(record.keysyms.size()));
        ASSERT_EQ(record.selections.size(), 1u);
        EXPECT_EQ(record.selections[0].value("types").toUInt(), 1u); // the keyboard alone
        EXPECT_EQ(record.selections[0].value("persist_mode").toUInt(), 2u);
        EXPECT_FALSE(record.selections[0].contains("restore_token"));
    }
    EXPECT_TRUE(view_.important().isEmpty()) << view_.important().join('\n').toStdString();
}

TEST_F(PortalKeyInjectorTest, theUserAllowsOnceAndTheNextStartSendsTheKeptRestoreToken) {
    props::set("tallyra.keys", "portal");
    serwedge::worker::storePortalToken({});
    portal_->reset(false);
    QStringList status;
    std::mutex mutex;
    serwedge::worker::KeyInjectorHooks hooks;
    hooks.status = [&](const QString& text) {
        std::lock_guard lock(mutex);
        status << text;
    };
    for (int start = 0; start < 2; ++start) {
        auto injector = serwedge::worker::createSessionKeyInjector(hooks);
        type(injector, KeyboardType::QUERTY, KeyMapType::NUMERIC, {QStringLiteral("7")});
        // The token arrives on the portal's thread and is stored on this one.
        for (int i = 0; i < 100 && serwedge::worker::storedPortalToken().isEmpty(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const auto record = portal_->record();
    ASSERT_EQ(record.selections.size(), 2u);
    EXPECT_FALSE(record.selections[0].contains("restore_token"));
    EXPECT_EQ(record.selections[1].value("restore_token").toString(), QStringLiteral("token-1"));
    std::lock_guard lock(mutex);
    ASSERT_EQ(status.size(), 4); // what to allow, then nothing left to do, at each start
    EXPECT_TRUE(status[0].contains(QStringLiteral("allow"))) << status[0].toStdString();
    EXPECT_TRUE(status[1].isEmpty());
}

TEST_F(PortalKeyInjectorTest, aRefusalIsReportedOnceAndNoKeyWaitsForIt) {
    portal_->reset(true);
    QStringList important;
    std::mutex mutex;
    serwedge::worker::KeyInjectorHooks hooks;
    hooks.important = [&](const QString& text) {
        std::lock_guard lock(mutex);
        important << text;
    };
    props::set("tallyra.keys", "portal");
    auto injector = serwedge::worker::createSessionKeyInjector(hooks);
    type(injector, KeyboardType::QUERTY, KeyMapType::NUMERIC, {QStringLiteral("12")});
    EXPECT_TRUE(portal_->record().keysyms.empty());
    EXPECT_FALSE(view_.important().isEmpty()); // every key that could not be typed
    std::lock_guard lock(mutex);
    ASSERT_EQ(important.size(), 1);
    EXPECT_TRUE(important[0].contains(QStringLiteral("did not allow")))
        << important[0].toStdString();
}
