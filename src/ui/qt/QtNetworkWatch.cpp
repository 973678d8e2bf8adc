#include "ui/qt/QtNetworkWatch.h"

#include "adapters/linux/NetlinkWatch.h"
#include "base/TApplication.h"

#include <QSocketNotifier>

#include <exception>
#include <utility>

namespace {

class TQtNetworkWatch : public TNetworkWatch {
public:
    explicit TQtNetworkWatch(std::function<void()> Changed)
        : FChanged(std::move(Changed)), FNotifier(FSocket.Fd(), QSocketNotifier::Read) {
        QObject::connect(&FNotifier, &QSocketNotifier::activated, [this] {
            if (FSocket.Drain())
                RunHandler(FChanged);
        });
    }

private:
    std::function<void()> FChanged;
    TNetlinkWatch FSocket;
    QSocketNotifier FNotifier;
};

} // namespace

std::unique_ptr<TNetworkWatch> StartQtNetworkWatch(std::function<void()> Changed) {
    try {
        return std::make_unique<TQtNetworkWatch>(std::move(Changed));
    } catch (const std::exception&) {
        return nullptr;
    }
}
