#include "bus/Mosquitto.h"

#include <dlfcn.h>

namespace bus {

namespace {

struct Loaded {
    Mosquitto functions;
    QString error;
    bool ok = false;
};

Loaded loadLibrary() {
    Loaded loaded;
    // The file name carries the library's ABI version, as the linker would
    // have recorded it; the library stays loaded until the program ends.
    void *library = dlopen("libmosquitto.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        loaded.error = QString::fromLocal8Bit(dlerror());
        return loaded;
    }
    Mosquitto &f = loaded.functions;
#define VELMAR_MOSQUITTO_RESOLVE(name)                                                             \
    f.name = reinterpret_cast<decltype(f.name)>(dlsym(library, #name));                            \
    if (!f.name) {                                                                                 \
        loaded.error = QString::fromLocal8Bit(dlerror());                                          \
        return loaded;                                                                             \
    }
    VELMAR_MOSQUITTO_FUNCTIONS(VELMAR_MOSQUITTO_RESOLVE)
#undef VELMAR_MOSQUITTO_RESOLVE
    f.mosquitto_lib_init();
    loaded.ok = true;
    return loaded;
}

} // namespace

const Mosquitto *Mosquitto::load(QString *why) {
    static const Loaded loaded = loadLibrary();
    if (!loaded.ok && why)
        *why = loaded.error;
    return loaded.ok ? &loaded.functions : nullptr;
}

} // namespace bus
