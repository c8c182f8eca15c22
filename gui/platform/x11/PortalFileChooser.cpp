#include "gui/platform/x11/PortalFileChooser.h"

#include <dbus/dbus.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace gui
{
namespace
{
constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kFileChooserInterface = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
constexpr const char* kRequestPathPrefix = "/org/freedesktop/portal/desktop/request/";
// The bus and the portal answer a call at once (the portal with the request's handle,
// before it shows anything); one that has not answered by then is not there.
constexpr auto kReplyTimeout = std::chrono::seconds(3);
constexpr int kReplyTimeoutMs = int(std::chrono::milliseconds(kReplyTimeout).count());

// The functions of libdbus we call, typed from its headers and looked up at run time.
#define TARVA_DBUS_FUNCTIONS(F)                                                                    \
    F(dbus_error_init)                                                                             \
    F(dbus_error_free)                                                                             \
    F(dbus_validate_utf8)                                                                          \
    F(dbus_connection_set_change_sigpipe)                                                          \
    F(dbus_connection_open_private)                                                                \
    F(dbus_connection_close)                                                                       \
    F(dbus_connection_unref)                                                                       \
    F(dbus_connection_add_filter)                                                                  \
    F(dbus_connection_remove_filter)                                                               \
    F(dbus_connection_send)                                                                        \
    F(dbus_connection_send_with_reply)                                                             \
    F(dbus_connection_read_write)                                                                  \
    F(dbus_connection_dispatch)                                                                    \
    F(dbus_connection_get_is_connected)                                                            \
    F(dbus_connection_has_messages_to_send)                                                        \
    F(dbus_pending_call_get_completed)                                                             \
    F(dbus_pending_call_steal_reply)                                                               \
    F(dbus_pending_call_cancel)                                                                    \
    F(dbus_pending_call_unref)                                                                     \
    F(dbus_message_new_method_call)                                                                \
    F(dbus_message_unref)                                                                          \
    F(dbus_message_set_no_reply)                                                                   \
    F(dbus_message_get_type)                                                                       \
    F(dbus_message_get_path)                                                                       \
    F(dbus_message_is_signal)                                                                      \
    F(dbus_message_iter_init)                                                                      \
    F(dbus_message_iter_init_append)                                                               \
    F(dbus_message_iter_append_basic)                                                              \
    F(dbus_message_iter_append_fixed_array)                                                        \
    F(dbus_message_iter_open_container)                                                            \
    F(dbus_message_iter_close_container)                                                           \
    F(dbus_message_iter_abandon_container)                                                         \
    F(dbus_message_iter_get_arg_type)                                                              \
    F(dbus_message_iter_get_basic)                                                                 \
    F(dbus_message_iter_recurse)                                                                   \
    F(dbus_message_iter_next)

struct DBusLibrary
{
#define TARVA_DBUS_MEMBER(name) decltype(&::name) name = nullptr;
    TARVA_DBUS_FUNCTIONS(TARVA_DBUS_MEMBER)
#undef TARVA_DBUS_MEMBER
};

std::optional<DBusLibrary> loadDBus()
{
    void* handle = dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return std::nullopt;
    DBusLibrary library;
    bool complete = true;
#define TARVA_DBUS_LOOKUP(name)                                                                    \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #name));                 \
    complete = complete && library.name;
    TARVA_DBUS_FUNCTIONS(TARVA_DBUS_LOOKUP)
#undef TARVA_DBUS_LOOKUP
    if (!complete)
    {
        dlclose(handle);
        return std::nullopt;
    }
    return library;
}

// libdbus stays loaded once found: it keeps process-wide state (its locks, the cache of
// messages) that unloading it under a live host would leave dangling.
const DBusLibrary* dbusLibrary()
{
    static const std::optional<DBusLibrary> library = loadDBus();
    return library ? &*library : nullptr;
}

// libdbus ends the process on a string that is not UTF-8, and a name from the file system
// need not be one: such a string goes out empty.
bool appendString(const DBusLibrary& dbus, DBusMessageIter* iter, const std::string& text)
{
    const char* value = dbus.dbus_validate_utf8(text.c_str(), nullptr) ? text.c_str() : "";
    return dbus.dbus_message_iter_append_basic(iter, DBUS_TYPE_STRING, &value);
}

template <typename Fill>
bool appendContainer(const DBusLibrary& dbus, DBusMessageIter* parent, int type,
                     const char* signature, Fill fill)
{
    DBusMessageIter child;
    if (!dbus.dbus_message_iter_open_container(parent, type, signature, &child))
        return false;
    if (!fill(&child))
    {
        dbus.dbus_message_iter_abandon_container(parent, &child);
        return false;
    }
    return dbus.dbus_message_iter_close_container(parent, &child);
}

template <typename Fill>
bool appendOption(const DBusLibrary& dbus, DBusMessageIter* options, const char* key,
                  const char* signature, Fill fill)
{
    return appendContainer(
        dbus, options, DBUS_TYPE_DICT_ENTRY, nullptr,
        [&](DBusMessageIter* entry)
        {
            return dbus.dbus_message_iter_append_basic(entry, DBUS_TYPE_STRING, &key) &&
                   appendContainer(dbus, entry, DBUS_TYPE_VARIANT, signature, fill);
        });
}

// A file type as the portal takes it, (sa(us)): its name and one pattern, 0 marking a glob.
bool appendFilter(const DBusLibrary& dbus, DBusMessageIter* iter, const FileExtension& type)
{
    const auto glob = [&](DBusMessageIter* pattern)
    {
        const dbus_uint32_t kGlob = 0;
        return dbus.dbus_message_iter_append_basic(pattern, DBUS_TYPE_UINT32, &kGlob) &&
               appendString(dbus, pattern, "*." + type.extension);
    };
    const auto patterns = [&](DBusMessageIter* list)
    { return appendContainer(dbus, list, DBUS_TYPE_STRUCT, nullptr, glob); };
    return appendContainer(dbus, iter, DBUS_TYPE_STRUCT, nullptr,
                           [&](DBusMessageIter* filter)
                           {
                               return appendString(dbus, filter, type.description) &&
                                      appendContainer(dbus, filter, DBUS_TYPE_ARRAY, "(us)",
                                                      patterns);
                           });
}

// The folder goes as bytes ending in a NUL: a path need not be UTF-8. Newer portals honour
// it when opening too.
bool appendFolder(const DBusLibrary& dbus, DBusMessageIter* variant, const std::string& folder)
{
    return appendContainer(dbus, variant, DBUS_TYPE_ARRAY, DBUS_TYPE_BYTE_AS_STRING,
                           [&](DBusMessageIter* bytes)
                           {
                               const char* data = folder.c_str();
                               return dbus.dbus_message_iter_append_fixed_array(
                                   bytes, DBUS_TYPE_BYTE, &data, int(folder.size() + 1));
                           });
}

bool appendStringOption(const DBusLibrary& dbus, DBusMessageIter* options, const char* key,
                        const std::string& text)
{
    return appendOption(dbus, options, key, "s",
                        [&](DBusMessageIter* value) { return appendString(dbus, value, text); });
}

// Every type the request names, the first chosen to begin with.
bool appendFilterOptions(const DBusLibrary& dbus, DBusMessageIter* options,
                         const std::vector<FileExtension>& types)
{
    const auto allTypes = [&](DBusMessageIter* filters)
    {
        for (const auto& type : types)
            if (!appendFilter(dbus, filters, type))
                return false;
        return true;
    };
    return appendOption(
               dbus, options, "filters", "a(sa(us))",
               [&](DBusMessageIter* value)
               { return appendContainer(dbus, value, DBUS_TYPE_ARRAY, "(sa(us))", allTypes); }) &&
           appendOption(dbus, options, "current_filter", "(sa(us))",
                        [&](DBusMessageIter* value)
                        { return appendFilter(dbus, value, types.front()); });
}

bool appendOptions(const DBusLibrary& dbus, DBusMessageIter* iter,
                   const FileSelectorRequest& request, const std::string& token)
{
    const auto modal = [&](DBusMessageIter* value)
    {
        const dbus_bool_t kModal = TRUE;
        return dbus.dbus_message_iter_append_basic(value, DBUS_TYPE_BOOLEAN, &kModal);
    };
    const auto folder = [&](DBusMessageIter* value)
    { return appendFolder(dbus, value, request.initialDirectory); };
    return appendContainer(
        dbus, iter, DBUS_TYPE_ARRAY, "{sv}",
        [&](DBusMessageIter* options)
        {
            return appendStringOption(dbus, options, "handle_token", token) &&
                   appendOption(dbus, options, "modal", "b", modal) &&
                   (request.extensions.empty() ||
                    appendFilterOptions(dbus, options, request.extensions)) &&
                   (!request.save || request.defaultName.empty() ||
                    appendStringOption(dbus, options, "current_name", request.defaultName)) &&
                   (request.initialDirectory.empty() ||
                    appendOption(dbus, options, "current_folder", "ay", folder));
        });
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The local path a file:// URI names: nothing for a file on another machine, a broken
// escape, or a path that is not absolute or holds a newline (the other ways of asking
// refuse those too: the same choice must not give another file here).
std::optional<std::string> pathFromFileUri(std::string_view uri)
{
    constexpr std::string_view kScheme = "file://";
    constexpr std::string_view kThisMachine = "localhost";
    if (!uri.starts_with(kScheme))
        return std::nullopt;
    uri.remove_prefix(kScheme.size());
    if (uri.starts_with(kThisMachine))
        uri.remove_prefix(kThisMachine.size());
    if (!uri.starts_with('/'))
        return std::nullopt;
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i)
    {
        if (uri[i] != '%')
        {
            path += uri[i];
            continue;
        }
        const int high = i + 2 < uri.size() ? hexDigit(uri[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(uri[i + 2]) : -1;
        if (low < 0)
            return std::nullopt;
        path += char(high * 16 + low);
        i += 2;
    }
    if (path.find('\n') != std::string::npos || path.find('\0') != std::string::npos)
        return std::nullopt;
    return path;
}

// What a Response signal says: (u code, a{sv} results), the chosen files in results'
// "uris" (as). Nothing unless the code is 0 (chosen); 1 is cancelled, 2 closed otherwise.
std::optional<std::string> chosenPath(const DBusLibrary& dbus, DBusMessage* response)
{
    DBusMessageIter args;
    if (!dbus.dbus_message_iter_init(response, &args) ||
        dbus.dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_UINT32)
        return std::nullopt;
    dbus_uint32_t code = 1;
    dbus.dbus_message_iter_get_basic(&args, &code);
    if (code != 0 || !dbus.dbus_message_iter_next(&args) ||
        dbus.dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_ARRAY)
        return std::nullopt;
    DBusMessageIter results;
    dbus.dbus_message_iter_recurse(&args, &results);
    for (; dbus.dbus_message_iter_get_arg_type(&results) == DBUS_TYPE_DICT_ENTRY;
         dbus.dbus_message_iter_next(&results))
    {
        DBusMessageIter entry;
        dbus.dbus_message_iter_recurse(&results, &entry);
        const char* key = nullptr;
        dbus.dbus_message_iter_get_basic(&entry, &key);
        if (std::strcmp(key, "uris") != 0 || !dbus.dbus_message_iter_next(&entry))
            continue;
        DBusMessageIter value;
        dbus.dbus_message_iter_recurse(&entry, &value);
        if (dbus.dbus_message_iter_get_arg_type(&value) != DBUS_TYPE_ARRAY)
            return std::nullopt;
        DBusMessageIter uris;
        dbus.dbus_message_iter_recurse(&value, &uris);
        for (; dbus.dbus_message_iter_get_arg_type(&uris) == DBUS_TYPE_STRING;
             dbus.dbus_message_iter_next(&uris))
        {
            const char* uri = nullptr;
            dbus.dbus_message_iter_get_basic(&uris, &uri);
            if (std::string_view(uri).starts_with("file://"))
                return pathFromFileUri(uri);
        }
        return std::nullopt;
    }
    return std::nullopt;
}

// The bus's own interface, which names us (Hello) and routes signals to us (AddMatch).
DBusMessage* busCall(const DBusLibrary& dbus, const char* method)
{
    return dbus.dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS,
                                             method);
}

// Each request's token is new, so that its handle is too.
std::string nextToken()
{
    static std::atomic<unsigned> count{0};
    return "tarva" + std::to_string(++count);
}
} // namespace

std::string portalParentWindow(unsigned long x11Window)
{
    char name[32];
    std::snprintf(name, sizeof name, "x11:%lx", x11Window);
    return name;
}

// The conversation runs in steps, each begun by an answer that poll finds: the bus names
// the connection; then the portal is asked, and answers with the request's handle; last,
// the Response signal on that handle brings the user's choice.
class PortalFileChooser::Conversation
{
public:
    enum class Outcome
    {
        waiting,
        answered,
        unavailable
    };

    // Null when the bus cannot be reached. Nothing here waits: the connection is made
    // (a local socket), and the authentication runs later, in poll.
    static std::unique_ptr<Conversation> open(const DBusLibrary& dbus, const char* address,
                                              const FileSelectorRequest& request,
                                              const std::string& parentWindow)
    {
        // libdbus would otherwise ignore SIGPIPE for the whole host; it sends with
        // MSG_NOSIGNAL anyway.
        dbus.dbus_connection_set_change_sigpipe(FALSE);
        DBusError error;
        dbus.dbus_error_init(&error);
        DBusConnection* connection = dbus.dbus_connection_open_private(address, &error);
        dbus.dbus_error_free(&error);
        if (!connection)
            return nullptr;
        std::unique_ptr<Conversation> conversation(new Conversation(dbus, connection));
        if (!conversation->begin(request, parentWindow))
            return nullptr;
        return conversation;
    }

    ~Conversation()
    {
        if (stage == Stage::opening || stage == Stage::showing)
            closeRequest();
        forgetPendingCall();
        if (call)
            dbus.dbus_message_unref(call);
        dbus.dbus_connection_remove_filter(connection, &Conversation::onMessage, this);
        dbus.dbus_connection_close(connection);
        dbus.dbus_connection_unref(connection);
    }

    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;

    Outcome poll()
    {
        dbus.dbus_connection_read_write(connection, 0);
        while (dbus.dbus_connection_dispatch(connection) == DBUS_DISPATCH_DATA_REMAINS)
        {
        }
        if (pending && dbus.dbus_pending_call_get_completed(pending) && !takeReply())
        {
            stage = Stage::done; // nothing was asked of the portal, or it refused
            return Outcome::unavailable;
        }
        if (response)
        {
            stage = Stage::done;
            return Outcome::answered;
        }
        if (!dbus.dbus_connection_get_is_connected(connection))
        {
            // The bus went away while the chooser was up: it took the chooser along.
            const bool shown = stage == Stage::showing;
            stage = Stage::done;
            return shown ? Outcome::answered : Outcome::unavailable;
        }
        // libdbus times calls out only from a main loop's timeouts, and we have none.
        if (stage != Stage::showing && std::chrono::steady_clock::now() > deadline)
            return Outcome::unavailable; // still opening: the request is closed, in case
        return Outcome::waiting;
    }

    // The user's choice, once poll has said that there is an answer.
    std::optional<std::string> answer() const { return response.value_or(std::nullopt); }

private:
    enum class Stage
    {
        registering, // waiting for the bus to name the connection
        opening,     // waiting for the portal's handle
        showing,     // waiting for the user
        done
    };

    Conversation(const DBusLibrary& library, DBusConnection* bus)
        : dbus(library), connection(bus), token(nextToken())
    {
        dbus.dbus_connection_add_filter(connection, &Conversation::onMessage, this, nullptr);
    }

    // Builds the call (it needs no name of ours) and says Hello to the bus.
    bool begin(const FileSelectorRequest& request, const std::string& parentWindow)
    {
        call = dbus.dbus_message_new_method_call(kPortalService, kPortalPath, kFileChooserInterface,
                                                 request.save ? "SaveFile" : "OpenFile");
        if (!call)
            return false;
        DBusMessageIter args;
        dbus.dbus_message_iter_init_append(call, &args);
        if (!appendString(dbus, &args, parentWindow) || !appendString(dbus, &args, request.title) ||
            !appendOptions(dbus, &args, request, token))
            return false;
        DBusMessage* hello = busCall(dbus, "Hello");
        if (!hello)
            return false;
        sendWithReply(hello);
        dbus.dbus_message_unref(hello);
        stage = Stage::registering;
        return pending != nullptr;
    }

    void sendWithReply(DBusMessage* message)
    {
        if (!dbus.dbus_connection_send_with_reply(connection, message, &pending, kReplyTimeoutMs))
            pending = nullptr;
        deadline = std::chrono::steady_clock::now() + kReplyTimeout;
    }

    void forgetPendingCall()
    {
        if (!pending)
            return;
        dbus.dbus_pending_call_cancel(pending);
        dbus.dbus_pending_call_unref(pending);
        pending = nullptr;
    }

    // The awaited reply has come: false when it is an error (no portal, a refusal, a
    // disconnection) or cannot be read.
    bool takeReply()
    {
        DBusMessage* reply = dbus.dbus_pending_call_steal_reply(pending);
        forgetPendingCall();
        if (!reply)
            return false;
        bool readable = false;
        if (dbus.dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN)
            readable = stage == Stage::registering ? named(reply) : opened(reply);
        dbus.dbus_message_unref(reply);
        return readable;
    }

    // The bus gave us our unique name, which the request's path holds: the Response is
    // subscribed to before the portal is asked, so that it cannot be missed.
    bool named(DBusMessage* reply)
    {
        const char* uniqueName = firstArgument(reply, DBUS_TYPE_STRING);
        if (!uniqueName)
            return false;
        std::string sender = uniqueName[0] == ':' ? uniqueName + 1 : uniqueName;
        for (char& c : sender)
            if (c == '.')
                c = '_';
        requestPath = kRequestPathPrefix + sender + "/" + token;
        if (!listenForResponse(requestPath))
            return false;
        sendWithReply(call);
        dbus.dbus_message_unref(call);
        call = nullptr;
        stage = Stage::opening;
        return pending != nullptr;
    }

    // The portal took the request. Portals older than the handle_token option answer on a
    // handle of their own choosing.
    bool opened(DBusMessage* reply)
    {
        const char* handle = firstArgument(reply, DBUS_TYPE_OBJECT_PATH);
        if (!handle)
            return false;
        if (requestPath != handle)
        {
            handlePath = handle;
            listenForResponse(handlePath);
        }
        stage = Stage::showing;
        return true;
    }

    const char* firstArgument(DBusMessage* message, int type) const
    {
        DBusMessageIter args;
        if (!dbus.dbus_message_iter_init(message, &args) ||
            dbus.dbus_message_iter_get_arg_type(&args) != type)
            return nullptr;
        const char* value = nullptr;
        dbus.dbus_message_iter_get_basic(&args, &value);
        return value;
    }

    bool listenForResponse(const std::string& path)
    {
        const std::string rule = std::string("type='signal',sender='") + kPortalService +
                                 "',path='" + path + "',interface='" + kRequestInterface +
                                 "',member='Response'";
        DBusMessage* addMatch = busCall(dbus, "AddMatch");
        if (!addMatch)
            return false;
        DBusMessageIter args;
        dbus.dbus_message_iter_init_append(addMatch, &args);
        bool sent = appendString(dbus, &args, rule);
        dbus.dbus_message_set_no_reply(addMatch, TRUE);
        sent = sent && dbus.dbus_connection_send(connection, addMatch, nullptr);
        dbus.dbus_message_unref(addMatch);
        return sent;
    }

    // Asks the portal to take its chooser down, and writes the request out now, as far as
    // the socket takes it at once: the connection closes next, and the editor that asked
    // may be gone. No reply is awaited.
    void closeRequest()
    {
        const std::string& path = handlePath.empty() ? requestPath : handlePath;
        DBusMessage* close = dbus.dbus_message_new_method_call(kPortalService, path.c_str(),
                                                               kRequestInterface, "Close");
        if (!close)
            return;
        dbus.dbus_message_set_no_reply(close, TRUE);
        dbus.dbus_connection_send(connection, close, nullptr);
        dbus.dbus_message_unref(close);
        for (int tries = 0; tries < 16 && dbus.dbus_connection_has_messages_to_send(connection);
             ++tries)
            dbus.dbus_connection_read_write(connection, 0);
    }

    static DBusHandlerResult onMessage(DBusConnection*, DBusMessage* message, void* self)
    {
        auto& conversation = *static_cast<Conversation*>(self);
        return conversation.respondedBy(message) ? DBUS_HANDLER_RESULT_HANDLED
                                                 : DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }

    // Whether the message is our request's Response; if so, keeps what it says.
    bool respondedBy(DBusMessage* message)
    {
        if (response || (stage != Stage::opening && stage != Stage::showing) ||
            !dbus.dbus_message_is_signal(message, kRequestInterface, "Response"))
            return false;
        const char* path = dbus.dbus_message_get_path(message);
        if (!path || (requestPath != path && handlePath != path))
            return false;
        response = chosenPath(dbus, message);
        return true;
    }

    const DBusLibrary& dbus;
    DBusConnection* const connection;
    const std::string token;
    Stage stage = Stage::registering;
    // The OpenFile or SaveFile call, held until the bus has named us.
    DBusMessage* call = nullptr;
    // The reply awaited: Hello's, then the call's.
    DBusPendingCall* pending = nullptr;
    std::chrono::steady_clock::time_point deadline;
    // Where the portal's Response comes from: the path predicted from our name and the
    // token, and the handle the portal gave, if another.
    std::string requestPath;
    std::string handlePath;
    // Set once the Response has come: the chosen path, or nothing.
    std::optional<std::optional<std::string>> response;
};

PortalFileChooser::PortalFileChooser(std::string parent) : parentWindow(std::move(parent)) {}

PortalFileChooser::~PortalFileChooser() = default;

bool PortalFileChooser::start(const FileSelectorRequest& request)
{
    if (conversation)
        return false;
    answer.reset();
    noPortal = false;
    const DBusLibrary* dbus = dbusLibrary();
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    // An autolaunch address would start a bus, and wait for it, inside the host's call.
    if (!dbus || !address || !*address || std::strstr(address, "autolaunch:"))
        return false;
    conversation = Conversation::open(*dbus, address, request, parentWindow);
    return conversation != nullptr;
}

bool PortalFileChooser::poll()
{
    if (!conversation)
        return true;
    switch (conversation->poll())
    {
    case Conversation::Outcome::waiting: return false;
    case Conversation::Outcome::answered: answer = conversation->answer(); break;
    case Conversation::Outcome::unavailable: noPortal = true; break;
    }
    conversation.reset();
    return true;
}
} // namespace gui
