#pragma once

// Platform-internal: the start of the windowing, when there may be no display to open.

#include <QtGlobal>

#include <mutex>
#include <string>
#include <vector>

// Watches Qt's messages while the application object is made. Qt ends the process with an
// abort when it can open no display, after remarks about its plugins that mean nothing to a
// user; here that ends with one line that names the cause and exit status 1, as any other
// failed start does. A start that fails for another reason (a platform that does not exist)
// gives Qt's own reason on that line instead. The remarks of a start that works are passed on
// once it is over.
class DisplayOpening {
public:
    explicit DisplayOpening(const char* argv0);
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;

    static void SetHint(const char* hint);

private:
    struct Held {
        QtMsgType type;
        std::string category;
        std::string text;
    };

    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
    [[noreturn]] static void Fail(const std::string& fatal);
    // Qt's own words for a failure that is not the display's, on one line.
    std::string QtReason(const std::string& fatal) const;
    bool DisplayFailed() const;

    static inline DisplayOpening* s_current = nullptr;
    static inline std::string s_hint;

    std::string m_program;
    QtMessageHandler m_previous = nullptr;
    // Qt's threads may speak while the application object is made.
    std::mutex m_heldLock;
    std::vector<Held> m_held;
};
