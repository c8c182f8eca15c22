// The desktop portal's file chooser against a private session bus and a stand-in portal
// that answers as the real one does and records what it was asked.
#include "gui/platform/x11/PortalFileChooser.h"
#include "support/TempFolder.h"

#include <dbus/dbus.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>
#include <utility>

namespace
{
constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
constexpr const char* kFileChooserInterface = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";

// Activates no services: a portal installed on this machine never answers in its place.
constexpr const char* kBusConfig = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=@DIR@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

// A session bus of our own, dbus-daemon running as long as the object lives.
class PrivateBus
{
public:
    PrivateBus()
    {
        std::string config = kBusConfig;
        config.replace(config.find("@DIR@"), 5, folder.path().string());
        std::ofstream(folder.file("bus.conf")) << config;
        int ends[2];
        if (pipe(ends) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, ends[0]);
        // Its complaints (as root, that it may not raise its limits) go to a log.
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, folder.file("log").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::string configOption = "--config-file=" + folder.file("bus.conf");
        char program[] = "dbus-daemon";
        char noFork[] = "--nofork";
        char printAddress[] = "--print-address";
        char* argv[] = {program, configOption.data(), noFork, printAddress, nullptr};
        if (posix_spawnp(&daemon, program, &actions, nullptr, argv, environ) != 0)
            daemon = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
        if (daemon > 0)
            readAddress(ends[0]);
        close(ends[0]);
    }

    ~PrivateBus() { stop(); }

    void stop()
    {
        if (daemon <= 0)
            return;
        kill(daemon, SIGTERM);
        waitpid(daemon, nullptr, 0);
        daemon = 0;
    }

    bool installed() const noexcept { return daemon >= 0; }
    // Empty when the bus did not start; then its log says why.
    const std::string& address() const noexcept { return busAddress; }
    std::string log() const
    {
        std::stringstream text;
        text << std::ifstream(folder.file("log")).rdbuf();
        return text.str();
    }
    std::string unusedAddress() const { return "unix:path=" + folder.file("nobody-listens"); }

private:
    void readAddress(int output)
    {
        std::string line;
        char c = 0;
        pollfd ready{output, POLLIN, 0};
        while (poll(&ready, 1, 10000) == 1 && read(output, &c, 1) == 1 && c != '\n')
            line += c;
        if (c == '\n')
            busAddress = line;
    }

    TempFolder folder;
    pid_t daemon = -1;
    std::string busAddress;
};

// The arguments of a message as text, D-Bus's notation loosely: "s", 7, true,
// [items], (fields), and byte arrays as b"..." with the NUL shown.
std::string describe(DBusMessageIter* iter);

std::string describeItems(DBusMessageIter* parent, const char* open, const char* close)
{
    DBusMessageIter items;
    dbus_message_iter_recurse(parent, &items);
    std::string text = open;
    for (bool first = true; dbus_message_iter_get_arg_type(&items) != DBUS_TYPE_INVALID;
         dbus_message_iter_next(&items), first = false)
        text += (first ? "" : ", ") + describe(&items);
    return text + close;
}

std::string describe(DBusMessageIter* iter)
{
    switch (dbus_message_iter_get_arg_type(iter))
    {
    case DBUS_TYPE_STRING:
    case DBUS_TYPE_OBJECT_PATH:
    {
        const char* text = nullptr;
        dbus_message_iter_get_basic(iter, &text);
        return std::string("\"") + text + "\"";
    }
    case DBUS_TYPE_UINT32:
    {
        dbus_uint32_t number = 0;
        dbus_message_iter_get_basic(iter, &number);
        return std::to_string(number);
    }
    case DBUS_TYPE_BOOLEAN:
    {
        dbus_bool_t truth = FALSE;
        dbus_message_iter_get_basic(iter, &truth);
        return truth ? "true" : "false";
    }
    case DBUS_TYPE_VARIANT: return describeItems(iter, "", "");
    case DBUS_TYPE_STRUCT: return describeItems(iter, "(", ")");
    case DBUS_TYPE_ARRAY:
        if (dbus_message_iter_get_element_type(iter) == DBUS_TYPE_BYTE)
        {
            DBusMessageIter bytes;
            dbus_message_iter_recurse(iter, &bytes);
            const char* data = nullptr;
            int size = 0;
            dbus_message_iter_get_fixed_array(&bytes, &data, &size);
            std::string text = "b\"";
            for (int i = 0; i < size; ++i)
                text += data[i] ? std::string(1, data[i]) : std::string("\\0");
            return text + "\"";
        }
        return describeItems(iter, "[", "]");
    default: return "?";
    }
}

// Owns the portal's name and serves FileChooser as xdg-desktop-portal does: a call is
// answered at once with the request's handle, made of the caller's name and its
// handle_token; the Response follows later as a signal on that handle, sent to no one in
// particular, so that only a caller that subscribed to it hears it.
class StandInPortal
{
public:
    struct Request
    {
        std::string method;
        std::string parentWindow;
        std::string title;
        std::map<std::string, std::string> options; // as describe gives them
        std::string handle;
    };

    explicit StandInPortal(const std::string& address)
    {
        DBusError error;
        dbus_error_init(&error);
        bus = dbus_connection_open_private(address.c_str(), &error);
        if (bus && dbus_bus_register(bus, &error))
            dbus_bus_request_name(bus, kPortalService, DBUS_NAME_FLAG_DO_NOT_QUEUE, &error);
        EXPECT_FALSE(dbus_error_is_set(&error)) << error.message;
        dbus_error_free(&error);
    }

    ~StandInPortal()
    {
        if (!bus)
            return;
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
    }

    // What the Response to each following request says; no code: it never comes.
    void answerWith(std::optional<std::uint32_t> code, std::vector<std::string> uris = {})
    {
        responseCode = code;
        responseUris = std::move(uris);
    }
    // A portal that hangs: calls are recorded but never answered.
    void stopReplying() { replying = false; }

    // Handles what has arrived, without waiting; a Response goes out one round after
    // the call was answered.
    void serve()
    {
        if (!bus)
            return;
        for (const auto& handle : std::exchange(due, {}))
            respond(handle);
        dbus_connection_read_write(bus, 0);
        while (DBusMessage* message = dbus_connection_pop_message(bus))
        {
            if (dbus_message_is_method_call(message, kFileChooserInterface, "OpenFile") ||
                dbus_message_is_method_call(message, kFileChooserInterface, "SaveFile"))
                openRequest(message);
            else if (dbus_message_is_method_call(message, kRequestInterface, "Close"))
                closed.push_back(dbus_message_get_path(message));
            dbus_message_unref(message);
        }
        dbus_connection_flush(bus);
    }

    std::vector<Request> requests;
    std::vector<std::string> closed; // the requests' paths Close was called on

private:
    void openRequest(DBusMessage* call)
    {
        Request request{dbus_message_get_member(call), "", "", {}, ""};
        DBusMessageIter args;
        dbus_message_iter_init(call, &args);
        const char* text = nullptr;
        dbus_message_iter_get_basic(&args, &text);
        request.parentWindow = text;
        dbus_message_iter_next(&args);
        dbus_message_iter_get_basic(&args, &text);
        request.title = text;
        dbus_message_iter_next(&args);
        DBusMessageIter options;
        dbus_message_iter_recurse(&args, &options);
        for (; dbus_message_iter_get_arg_type(&options) == DBUS_TYPE_DICT_ENTRY;
             dbus_message_iter_next(&options))
        {
            DBusMessageIter entry;
            dbus_message_iter_recurse(&options, &entry);
            const char* key = nullptr;
            dbus_message_iter_get_basic(&entry, &key);
            dbus_message_iter_next(&entry);
            request.options[key] = describe(&entry);
        }
        std::string sender = dbus_message_get_sender(call) + 1;
        std::replace(sender.begin(), sender.end(), '.', '_');
        const std::string& quotedToken = request.options["handle_token"];
        request.handle = "/org/freedesktop/portal/desktop/request/" + sender + "/" +
                         quotedToken.substr(1, quotedToken.size() - 2);
        requests.push_back(request);
        if (!replying)
            return;

        DBusMessage* reply = dbus_message_new_method_return(call);
        const char* handle = request.handle.c_str();
        dbus_message_append_args(reply, DBUS_TYPE_OBJECT_PATH, &handle, DBUS_TYPE_INVALID);
        dbus_connection_send(bus, reply, nullptr);
        dbus_message_unref(reply);
        if (responseCode)
            due.push_back(request.handle);
    }

    void respond(const std::string& handle)
    {
        DBusMessage* response =
            dbus_message_new_signal(handle.c_str(), kRequestInterface, "Response");
        DBusMessageIter args, results, entry, value, uris;
        dbus_message_iter_init_append(response, &args);
        dbus_message_iter_append_basic(&args, DBUS_TYPE_UINT32, &*responseCode);
        dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sv}", &results);
        if (!responseUris.empty())
        {
            const char* key = "uris";
            dbus_message_iter_open_container(&results, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
            dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
            dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "as", &value);
            dbus_message_iter_open_container(&value, DBUS_TYPE_ARRAY, "s", &uris);
            for (const auto& uri : responseUris)
            {
                const char* text = uri.c_str();
                dbus_message_iter_append_basic(&uris, DBUS_TYPE_STRING, &text);
            }
            dbus_message_iter_close_container(&value, &uris);
            dbus_message_iter_close_container(&entry, &value);
            dbus_message_iter_close_container(&results, &entry);
        }
        dbus_message_iter_close_container(&args, &results);
        dbus_connection_send(bus, response, nullptr);
        dbus_message_unref(response);
    }

    DBusConnection* bus = nullptr;
    bool replying = true;
    std::optional<std::uint32_t> responseCode = 0;
    std::vector<std::string> responseUris;
    std::vector<std::string> due; // handles whose Response goes out next round
};

constexpr auto kPatience = std::chrono::seconds(10);

// Polls the chooser as the frame's idle does, the portal serving in between, until the
// chooser is done or stop says so; false when neither happened in time.
template <typename Stop> bool pollUntil(gui::FileChooser& chooser, StandInPortal* portal, Stop stop)
{
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (!chooser.poll() && !stop())
    {
        if (portal)
            portal->serve();
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool pollToEnd(gui::FileChooser& chooser, StandInPortal* portal)
{
    return pollUntil(chooser, portal, [] { return false; });
}

// Polls a while (a good many round trips to the bus) with no answer coming.
bool pollsUnanswered(gui::FileChooser& chooser)
{
    for (int round = 0; round < 50; ++round)
    {
        if (chooser.poll())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

FileSelectorRequest presetRequest(bool save)
{
    FileSelectorRequest request;
    request.save = save;
    request.title = save ? "Save preset" : "Load preset";
    request.initialDirectory = "/home/u/presets";
    request.defaultName = save ? "Init.qel" : "";
    request.extensions.push_back({"QEL Preset", "qel"});
    return request;
}

class PortalFileChooserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!bus.installed())
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup installs it)";
        ASSERT_FALSE(bus.address().empty()) << "dbus-daemon gave no address: " << bus.log();
        sessionBus.emplace("DBUS_SESSION_BUS_ADDRESS", bus.address());
    }

    PrivateBus bus;
    std::optional<ScopedEnvironment> sessionBus;
};
} // namespace

TEST_F(PortalFileChooserTest, TheChosenFileComesBackDecodedAndThePortalGetsTheRequest)
{
    StandInPortal portal(bus.address());
    gui::PortalFileChooser chooser(gui::portalParentWindow(0x1a2b));

    portal.answerWith(0, {"https://example.org/x.qel", "file:///home/u/My%20Presets/S%C3%B6ren.qel",
                          "file:///home/u/b.qel"});
    ASSERT_TRUE(chooser.start(presetRequest(true)));
    ASSERT_TRUE(pollToEnd(chooser, &portal));
    EXPECT_FALSE(chooser.unavailable());
    EXPECT_EQ(chooser.chosen(), "/home/u/My Presets/S\xC3\xB6ren.qel");
    EXPECT_FALSE(chooser.handlesAddedExtension());

    ASSERT_EQ(portal.requests.size(), 1u);
    const auto save = portal.requests[0]; // a copy: the next request moves the list
    EXPECT_EQ(save.method, "SaveFile");
    EXPECT_EQ(save.parentWindow, "x11:1a2b");
    EXPECT_EQ(save.title, "Save preset");
    EXPECT_EQ(save.options.at("modal"), "true");
    EXPECT_EQ(save.options.at("filters"), R"([("QEL Preset", [(0, "*.qel")])])");
    EXPECT_EQ(save.options.at("current_filter"), R"(("QEL Preset", [(0, "*.qel")]))");
    EXPECT_EQ(save.options.at("current_name"), R"("Init.qel")");
    EXPECT_EQ(save.options.at("current_folder"), R"(b"/home/u/presets\0")");

    // The same chooser again, opening, with two types: the first is the current one.
    auto open = presetRequest(false);
    open.extensions.push_back({"QEL Bank", "qeb"});
    portal.answerWith(0, {"file://localhost/tmp/a%25b.qeb"});
    ASSERT_TRUE(chooser.start(open));
    ASSERT_TRUE(pollToEnd(chooser, &portal));
    EXPECT_EQ(chooser.chosen(), "/tmp/a%b.qeb");

    ASSERT_EQ(portal.requests.size(), 2u);
    const auto& load = portal.requests[1];
    EXPECT_EQ(load.method, "OpenFile");
    EXPECT_EQ(load.title, "Load preset");
    EXPECT_EQ(load.options.at("filters"),
              R"([("QEL Preset", [(0, "*.qel")]), ("QEL Bank", [(0, "*.qeb")])])");
    EXPECT_EQ(load.options.at("current_filter"), R"(("QEL Preset", [(0, "*.qel")]))");
    EXPECT_EQ(load.options.count("current_name"), 0u);
    EXPECT_EQ(load.options.at("current_folder"), R"(b"/home/u/presets\0")");
    EXPECT_NE(load.handle, save.handle);
}

TEST_F(PortalFileChooserTest, ACancelOrAnAnswerThatIsNoLocalPathGivesNoPath)
{
    struct Case
    {
        std::uint32_t code;
        std::vector<std::string> uris;
    };
    const Case cases[] = {
        {1, {}},                             // cancelled
        {2, {"file:///tmp/a.qel"}},          // ended otherwise
        {0, {}},                             // no file
        {0, {"https://example.org/a.qel"}},  // not a file
        {0, {"file://elsewhere/tmp/a.qel"}}, // another machine's
        {0, {"file:///tmp/new%0Aline.qel"}}, // a newline: another file if cut
        {0, {"file:///tmp/a%2"}},            // a broken escape
        {0, {"file:///tmp/a%zz.qel"}},       // not an escape
    };
    StandInPortal portal(bus.address());
    gui::PortalFileChooser chooser;
    for (const auto& answer : cases)
    {
        SCOPED_TRACE(answer.uris.empty() ? std::to_string(answer.code) : answer.uris[0]);
        portal.answerWith(answer.code, answer.uris);
        ASSERT_TRUE(chooser.start(presetRequest(false)));
        ASSERT_TRUE(pollToEnd(chooser, &portal));
        EXPECT_EQ(chooser.chosen(), std::nullopt);
        EXPECT_FALSE(chooser.unavailable());
    }
    EXPECT_EQ(portal.requests.size(), std::size(cases));
}

TEST_F(PortalFileChooserTest, WithoutABusOrAPortalTheNextWayIsTried)
{
    gui::PortalFileChooser chooser;
    {
        ScopedEnvironment noBus("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
        EXPECT_FALSE(chooser.start(presetRequest(false)));
    }
    {
        ScopedEnvironment deadBus("DBUS_SESSION_BUS_ADDRESS", bus.unusedAddress());
        EXPECT_FALSE(chooser.start(presetRequest(false)));
    }

    // A bus but no portal on it: the bus says so at once, without the reply's timeout.
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(chooser.start(presetRequest(true)));
    ASSERT_TRUE(pollToEnd(chooser, nullptr));
    EXPECT_TRUE(chooser.unavailable());
    EXPECT_EQ(chooser.chosen(), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2));
}

TEST_F(PortalFileChooserTest, DestroyingTheChooserMidDialogClosesThePortalsRequest)
{
    StandInPortal portal(bus.address());
    portal.answerWith(std::nullopt); // the user never answers
    auto chooser = std::make_unique<gui::PortalFileChooser>();
    ASSERT_TRUE(chooser->start(presetRequest(true)));
    ASSERT_TRUE(pollUntil(*chooser, &portal, [&] { return !portal.requests.empty(); }));
    ASSERT_TRUE(pollsUnanswered(*chooser)); // and reads the handle meanwhile

    const auto began = std::chrono::steady_clock::now();
    chooser.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(100));
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (portal.closed.empty() && std::chrono::steady_clock::now() < end)
        portal.serve();
    EXPECT_EQ(portal.closed, std::vector<std::string>{portal.requests.at(0).handle});
}

TEST_F(PortalFileChooserTest, APortalThatNeverAnswersIsGivenUpAndItsRequestClosed)
{
    // libdbus times a call out only from a main loop, which the editor's idle is not.
    StandInPortal portal(bus.address());
    portal.stopReplying();
    gui::PortalFileChooser chooser;
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(chooser.start(presetRequest(false)));
    ASSERT_TRUE(pollToEnd(chooser, &portal));
    EXPECT_TRUE(chooser.unavailable());
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));

    // Should the portal come to, it takes no chooser up behind the next way's.
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (portal.closed.empty() && std::chrono::steady_clock::now() < end)
        portal.serve();
    ASSERT_EQ(portal.requests.size(), 1u);
    EXPECT_EQ(portal.closed, std::vector<std::string>{portal.requests[0].handle});
}

TEST_F(PortalFileChooserTest, TheBusGoingAwayMidDialogEndsItWithoutAnAnswer)
{
    // libdbus can end the whole process when a connection drops; ours must not, nor try
    // another way after the user has seen the portal's chooser.
    StandInPortal portal(bus.address());
    portal.answerWith(std::nullopt);
    gui::PortalFileChooser chooser;
    ASSERT_TRUE(chooser.start(presetRequest(true)));
    ASSERT_TRUE(pollUntil(chooser, &portal, [&] { return !portal.requests.empty(); }));
    ASSERT_TRUE(pollsUnanswered(chooser)); // and reads the handle meanwhile

    bus.stop();
    ASSERT_TRUE(pollToEnd(chooser, nullptr));
    EXPECT_EQ(chooser.chosen(), std::nullopt);
    EXPECT_FALSE(chooser.unavailable());
}
