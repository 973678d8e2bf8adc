#include "base/TApplication.h"

TApplication& Application() {
    static TApplication Instance;
    return Instance;
}
