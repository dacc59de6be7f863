#include "platform/windowhints.h"

#include <QGuiApplication>
#include <QWidget>

#if VELLORAN_HAVE_XCB
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#endif

namespace velloran::platform {

#if VELLORAN_HAVE_XCB
namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

}  // namespace
#endif

void keepOffTaskbar(QWidget* window)
{
#if VELLORAN_HAVE_XCB
    // Only on X11 itself: other platforms may answer for X11 with no connection to it.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection =
        x11 && QGuiApplication::platformName() == u"xcb" ? x11->connection() : nullptr;
    if (!connection || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    std::vector<xcb_atom_t> states;
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 64);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        const auto* held = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        states.assign(held, held + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
        std::free(reply);
    }
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
        if (const xcb_atom_t skip = atom(connection, name);
            std::find(states.begin(), states.end(), skip) == states.end())
            states.push_back(skip);
    // Read by the window manager when the window is mapped; the toolkit keeps the states it did
    // not set itself.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(states.size()), states.data());
    xcb_flush(connection);
#else
    (void)window;
#endif
}

}  // namespace velloran::platform
