#include "ipset/ApplyVerdict.h"

#include "adapters/o_AdapterInformation.h"
#include "base/TApplication.h"
#include "base/TextUtils.h"
#include "connections/o_SystemConnections.h"

#include <chrono>
#include <thread>

namespace {

constexpr std::size_t BalloonLength = 255;

class TSystemAdapters : public TLiveAdapters {
    std::vector<const TgtNetworkAdapter*> FAdapters;
    std::vector<std::string> FConnections;

public:
    void Refresh() override {
        TgtNetworkAdapters& List = AdapterManager()->Adapters();
        FAdapters.clear(); // the manager frees them, also when it fails
        FConnections.clear();
        AdapterManager()->RefreshAdapters();
        for (int I = 0; I < List.Count(); ++I)
            FAdapters.push_back(List.Items(I));
        FConnections = GetIPSystemConnections()->AdapterConnectionNames();
    }
    const TgtNetworkAdapter* AdapterOf(const std::string& Connection) override {
        return AdapterOfConnection(FAdapters, FConnections, Connection);
    }
    std::uint64_t NowMs() override {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
    // Short sleeps between rounds of the waiting messages: a click is answered within them.
    void Pause(unsigned Ms) override {
        const std::uint64_t End = NowMs() + Ms;
        for (std::uint64_t Now = NowMs(); Now < End; Now = NowMs()) {
            Application().ProcessMessages();
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::min<std::uint64_t>(10, End - Now)));
        }
    }
};

bool Settled(const TIPSetValues& Set, const TInForceCheck& Check, bool First) {
    if (Set.Dhcp)
        return (First && !Check.InForce()) || (Check.InForce() && !Check.AwaitingLease);
    return Check.InForce();
}

std::string Lines(std::string Text, const std::vector<std::string>& More) {
    for (const std::string& Line : More)
        Text += (Text.empty() ? "" : "\r") + Line;
    return Text;
}

} // namespace

bool IsInForce(TLiveAdapters& Live, const TIPSetValues& Set) {
    return CheckInForce(Set, Live.AdapterOf(Set.Connection)).InForce();
}

std::vector<std::string> StaticIPv6AddressesNow(TLiveAdapters& Live,
                                                const std::string& Connection) {
    Live.Refresh();
    const TgtNetworkAdapter* Adapter = Live.AdapterOf(Connection);
    return Adapter != nullptr ? Adapter->StaticIPv6Addresses() : std::vector<std::string>();
}

std::unique_ptr<TLiveAdapters> CreateLiveAdapters() {
    return std::make_unique<TSystemAdapters>();
}

TInForceCheck VerifyApplied(const TIPSetValues& Set, TLiveAdapters& Live) {
    const std::uint64_t End = Live.NowMs() + VerifyLimitMs;
    Live.Refresh();
    TInForceCheck Check = CheckInForce(Set, Live.AdapterOf(Set.Connection));
    for (bool First = true; !Settled(Set, Check, First) && Live.NowMs() < End; First = false) {
        Live.Pause(VerifyIntervalMs);
        Live.Refresh();
        Check = CheckInForce(Set, Live.AdapterOf(Set.Connection));
    }
    return Check;
}

TApplyReport BuildVerifiedReport(const TIPSetValues& Set, const std::string& Failures,
                                 const TInForceCheck& Check) {
    if (Check.InForce() && Check.AwaitingLease)
        return {SuccessTitle, "DHCP: Si\rSin respuesta del servidor DHCP todavia.", true, true};
    if (Check.InForce())
        return BuildApplyReport(Set, std::string());
    const std::vector<std::string> Found =
        Check.AdapterFound
            ? Check.Differences
            : std::vector<std::string>{"No se encontro el adaptador de la conexion \"" +
                                       Set.Connection + "\"."};
    return {ApplyErrorText, Utf8CutAtLineEnd(Lines(Failures, Found), BalloonLength, '\r'), false};
}
