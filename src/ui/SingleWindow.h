#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

namespace ui {

// Brings a window to the front: shown when hidden, raised and activated.
void showWindow(QWidget *window);

// A window of which at most one exists at a time, made on first use. Making
// it runs its load (Form_Load, where it has one) once; a window that is
// closed is gone, and the next use makes and loads a new one. The window is
// known while its load runs, so a load that asks for it again gets the same
// window instead of a second one.
template <typename T> class SingleWindow {
public:
    explicit SingleWindow(std::function<T *()> make)
        : m_make(std::move(make)) {}

    // The window, or null when none exists. A window closed a moment ago is
    // on its way out (Qt has taken back its delete-on-close to delete it
    // later) and counts as gone.
    T *get() const {
        return m_window && m_window->testAttribute(Qt::WA_DeleteOnClose) ? m_window.data()
                                                                         : nullptr;
    }
    // The window, made and loaded (not shown) when none exists.
    T &ensure() {
        if (!get()) {
            T *window = m_make();
            window->setAttribute(Qt::WA_DeleteOnClose);
            m_window = window;
            if constexpr (requires { window->Form_Load(); })
                window->Form_Load();
        }
        return *m_window;
    }
    // The window made when needed and brought to the front.
    T &open() {
        T &window = ensure();
        showWindow(&window);
        return window;
    }
    void close() {
        if (T *window = get())
            window->close();
    }

private:
    std::function<T *()> m_make;
    QPointer<T> m_window;
};

} // namespace ui
