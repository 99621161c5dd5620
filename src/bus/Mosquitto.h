#pragma once

#include <QString>
#include <mosquitto.h>

namespace bus {

// libmosquitto, loaded when a bus is first connected rather than when the
// program starts: the library brings OpenSSL with it, a megabyte and more of
// memory that a panel without a bus has no use for, and a machine without
// the library still runs the panel (the bus then says what is missing).
struct Mosquitto {
#define VELMAR_MOSQUITTO_FUNCTIONS(X)                                                              \
    X(mosquitto_lib_init)                                                                          \
    X(mosquitto_strerror)                                                                          \
    X(mosquitto_new)                                                                               \
    X(mosquitto_destroy)                                                                           \
    X(mosquitto_int_option)                                                                        \
    X(mosquitto_connect_callback_set)                                                              \
    X(mosquitto_disconnect_callback_set)                                                           \
    X(mosquitto_message_callback_set)                                                              \
    X(mosquitto_publish_callback_set)                                                              \
    X(mosquitto_username_pw_set)                                                                   \
    X(mosquitto_will_set)                                                                          \
    X(mosquitto_tls_set)                                                                           \
    X(mosquitto_connect_async)                                                                     \
    X(mosquitto_socket)                                                                            \
    X(mosquitto_loop_read)                                                                         \
    X(mosquitto_loop_write)                                                                        \
    X(mosquitto_loop_misc)                                                                         \
    X(mosquitto_want_write)                                                                        \
    X(mosquitto_publish)                                                                           \
    X(mosquitto_subscribe)                                                                         \
    X(mosquitto_disconnect)
#define VELMAR_MOSQUITTO_MEMBER(name) decltype(&::name) name = nullptr;
    VELMAR_MOSQUITTO_FUNCTIONS(VELMAR_MOSQUITTO_MEMBER)
#undef VELMAR_MOSQUITTO_MEMBER

    // The library, loaded and initialised on the first call; nullptr when it
    // cannot be loaded, with the loader's reason in why.
    static const Mosquitto *load(QString *why);
};

} // namespace bus
