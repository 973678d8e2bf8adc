// The entry of every test executable: the tests run inside one application object, as the
// program runs inside its own, and it goes before anything with static storage duration.
#include "base/TApplication.h"

#include <gmock/gmock.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    TApplication App;
    return RUN_ALL_TESTS();
}
