#include "XWindows.h"

#include <QDeadlineTimer>
#include <QRect>
#include <QProcess>
#include <QSysInfo>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <memory>

namespace {

// A window may go between the list and the look at it; that is no error of the test.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

struct XFreeDeleter
{
    void operator()(unsigned char *p) const { XFree(p); }
};
using XData = std::unique_ptr<unsigned char, XFreeDeleter>;

} // namespace

XWindows::XWindows(const QString &display) : m_name(display)
{
    XSetErrorHandler(ignoreErrors);
    m_display = XOpenDisplay(display.toLocal8Bit().constData());
}

XWindows::~XWindows()
{
    if (m_display)
        XCloseDisplay(m_display);
}

QList<XWindows::Id> XWindows::idsOf(Id window, const char *property) const
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *raw = nullptr;
    QList<Id> ids;
    if (XGetWindowProperty(m_display, window, XInternAtom(m_display, property, False), 0, 4096, False, XA_WINDOW,
                           &type, &format, &count, &after, &raw) != Success)
        return ids;
    const XData data(raw);
    if (type == XA_WINDOW && format == 32)
        for (unsigned long i = 0; i < count; ++i)
            ids.append(Id(reinterpret_cast<const unsigned long *>(raw)[i]));
    return ids;
}

bool XWindows::windowManagerRuns() const
{
    return m_display && !idsOf(DefaultRootWindow(m_display), "_NET_SUPPORTING_WM_CHECK").isEmpty();
}

QString XWindows::title(Id window) const
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *raw = nullptr;
    if (XGetWindowProperty(m_display, window, XInternAtom(m_display, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(m_display, "UTF8_STRING", False), &type, &format, &count, &after, &raw)
            != Success
        || !raw)
        return {};
    const XData data(raw);
    return QString::fromUtf8(reinterpret_cast<const char *>(raw), int(count));
}

QList<XWindows::Window> XWindows::windows() const
{
    QList<Window> list;
    // A window just withdrawn may stay on the list a while.
    for (Id id : idsOf(DefaultRootWindow(m_display), "_NET_CLIENT_LIST"))
        if (XWindowAttributes a{}; XGetWindowAttributes(m_display, id, &a) && a.map_state == IsViewable)
            list.append({id, title(id)});
    return list;
}

XWindows::Id XWindows::find(const QString &wanted) const
{
    for (const Window &w : windows())
        if (w.title == wanted)
            return w.id;
    return 0;
}

XWindows::Id XWindows::active() const
{
    const QList<Id> ids = idsOf(DefaultRootWindow(m_display), "_NET_ACTIVE_WINDOW");
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return !ids.isEmpty() && ids.first() == focus ? ids.first() : 0;
}

QImage XWindows::grab(Id window) const
{
    // From the screen, where the user looks: a window's own contents can be
    // painted while what covers it on the screen is not. Read straight from
    // the root window: xwd -root takes another path when windows use
    // colormaps other than the root's (Qt makes its own), reads a window lying
    // wholly inside another of the same colormap from the outer, obscured one
    // and so shows a small dialog over the main window black.
    XWindowAttributes a{};
    if (!XGetWindowAttributes(m_display, window, &a) || a.map_state != IsViewable)
        return {};
    const ::Window root = DefaultRootWindow(m_display);
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(m_display, window, root, 0, 0, &x, &y, &child);
    const QRect area = QRect(x, y, a.width, a.height)
                           .intersected(QRect(0, 0, DisplayWidth(m_display, 0), DisplayHeight(m_display, 0)));
    if (area.isEmpty())
        return {};
    XImage *image = XGetImage(m_display, root, area.x(), area.y(), unsigned(area.width()), unsigned(area.height()),
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    QImage copy(area.size(), QImage::Format_RGB32);
    // A 24-bit screen hands out rows already laid out as Qt's RGB32: copied
    // whole, which a test grabbing the screen many times a second needs.
    const bool rgb32 = image->bits_per_pixel == 32 && image->red_mask == 0xff0000 && image->green_mask == 0xff00
                       && image->blue_mask == 0xff && image->byte_order == (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst);
    for (int row = 0; row < area.height(); ++row) {
        if (rgb32) {
            std::memcpy(copy.scanLine(row), image->data + qsizetype(row) * image->bytes_per_line, size_t(area.width()) * 4);
            continue;
        }
        for (int col = 0; col < area.width(); ++col)
            copy.setPixel(col, row, QRgb(XGetPixel(image, col, row)));
    }
    XDestroyImage(image);
    return copy;
}

void XWindows::close(Id window) const
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(m_display, "_NET_CLOSE_WINDOW", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = 2;  // from a pager or a test: the user's own request
    XSendEvent(m_display, DefaultRootWindow(m_display), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(m_display);
}

bool XWindows::send(const QStringList &arguments) const
{
    QProcess xdotool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_name);
    xdotool.setProcessEnvironment(env);
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return xdotool.waitForFinished(30000) && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

bool XWindows::waitFor(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}
