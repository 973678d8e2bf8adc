#include "ipset/IPSetCommands.h"

#include "base/TextUtils.h"
#include "ipset/ExtraLines.h"

const char* const ApplyErrorText = "Error al aplicar configuracion IP";
const char* const SuccessTitle = "Cambio de IP satisfactorio!";

namespace {

const char Quote = '"';

// One group of a dotted quad that every reader takes for the same number: decimal digits worth
// at most 255 with no leading zero (netsh reads "010" as eight), or zeros alone.
bool IsPlainGroup(const std::string& Group) {
    if (Group.empty() || Group.find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (Group.find_first_not_of('0') == std::string::npos)
        return true;
    return Group[0] != '0' && Group.size() <= 3 && std::stoi(Group) <= 255;
}

// Empty (the value is used as stored), or four plain groups: "3232235777" and "1" are
// addresses to netsh too, but not the ones they seem to be.
bool IsSafeAddress(const std::string& Address) {
    if (Address.empty())
        return true;
    std::size_t Groups = 0, Begin = 0;
    for (;;) {
        const std::size_t Dot = Address.find('.', Begin);
        if (++Groups > 4 || !IsPlainGroup(Address.substr(Begin, Dot - Begin)))
            return false;
        if (Dot == std::string::npos)
            return Groups == 4;
        Begin = Dot + 1;
    }
}

std::string Quoted(const std::string& Connection) {
    // The blank after the closing quote is part of the line netsh is given.
    return std::string(1, Quote) + Connection + Quote + " ";
}

bool Succeeded(const TStepOutcome& Outcome) {
    return !Outcome.Failed && Outcome.Result == 0;
}

// The text between the quotes that follow Prefix, and what comes after the closing quote; false
// when the line does not begin with Prefix and a quote or has no closing quote.
bool SplitAtConnection(const std::string& Line, const std::string& Prefix, std::string& Connection,
                       std::string& Rest) {
    const size_t Open = Prefix.size();
    if (Line.compare(0, Open, Prefix) != 0 || Line.size() <= Open || Line[Open] != Quote)
        return false;
    const size_t Close = Line.find(Quote, Open + 1);
    if (Close == std::string::npos)
        return false;
    Connection = Line.substr(Open + 1, Close - Open - 1);
    Rest = Line.substr(Close + 1);
    return true;
}

// The Index-th piece of Text cut at every single blank ("a  b" has an empty piece between).
std::string Piece(const std::string& Text, size_t Index) {
    size_t Begin = 0;
    for (; Index > 0; --Index) {
        Begin = Text.find(' ', Begin);
        if (Begin == std::string::npos)
            return std::string();
        ++Begin;
    }
    return Text.substr(Begin, Text.find(' ', Begin) - Begin);
}

// The values the lines seem to carry; whether they really are an apply's lines is told by
// building the lines again from them.
TIPSetValues GuessValues(const std::vector<std::string>& Lines) {
    TIPSetValues V;
    std::string Rest;
    if (!SplitAtConnection(Lines[0], "netsh interface ip set address ", V.Connection, Rest))
        return V;
    V.Dhcp = Rest == "  dhcp ";
    V.IPAddress = Piece(Rest, 3);
    V.SubnetMask = Piece(Rest, 4);
    V.Gateway = Piece(Rest, 5);
    std::string Ignored;
    if (Lines.size() > 1 &&
        SplitAtConnection(Lines[1], "netsh interface ip set dns ", Ignored, Rest))
        V.Dns = Piece(Rest, 3);
    if (Lines.size() > 2 &&
        SplitAtConnection(Lines[2], "netsh interface ip add dns ", Ignored, Rest))
        V.Dns2 = Piece(Rest, 1);
    return V;
}

std::vector<TApplyStep> OwnSteps(const TIPSetValues& V) {
    const std::string C = Quoted(V.Connection);
    if (V.Dhcp)
        return {
            {"netsh interface ip set address " + C + " dhcp ", 70},
            {"netsh interface ip set dns " + C + " dhcp ", 90},
        };
    return {
        {"netsh interface ip set address " + C + " static " + V.IPAddress + " " + V.SubnetMask +
             " " + V.Gateway + " 1",
         50},
        {"netsh interface ip set dns " + C + " static " + V.Dns + " " + "primary", 70},
        {"netsh interface ip add dns " + C + V.Dns2 + " 2", 90},
    };
}

} // namespace

std::vector<TApplyStep> BuildApplySteps(const TIPSetValues& V,
                                        const std::vector<std::string>& AdapterIPv6) {
    std::vector<TApplyStep> Steps = OwnSteps(V);
    const std::vector<std::string> Extra = ExtraLines(V, AdapterIPv6);
    // The extra lines step on from the set's own 90, evenly, short of the 100 of the end.
    const int Count = static_cast<int>(Extra.size());
    for (int I = 0; I < Count; ++I)
        Steps.push_back({Extra[static_cast<std::size_t>(I)], 90 + 10 * (I + 1) / (Count + 1)});
    return Steps;
}

bool IsSafeConnectionName(const std::string& Name) {
    for (unsigned char Ch : Name)
        if (Ch == Quote || Ch == '\\' || Ch < 32 || Ch == 127)
            return false;
    return true;
}

bool IsSafeToApply(const TIPSetValues& V) {
    if (!IsSafeConnectionName(V.Connection) || !AreSafeExtras(V))
        return false;
    if (V.Dhcp)
        return true;
    for (const std::string* Address : {&V.IPAddress, &V.SubnetMask, &V.Gateway, &V.Dns, &V.Dns2})
        if (!IsSafeAddress(*Address))
            return false;
    return true;
}

bool AreSafeApplyLines(const std::vector<std::string>& CommandLines) {
    if (CommandLines.empty())
        return false;
    TIPSetValues V = GuessValues(CommandLines);
    std::vector<std::string> Deleted;
    if (!GuessExtras(CommandLines, V.Dhcp ? 2 : 3, V.Extras, Deleted) || !IsSafeToApply(V))
        return false;
    const std::vector<TApplyStep> Steps = BuildApplySteps(V, Deleted);
    if (Steps.size() != CommandLines.size())
        return false;
    for (size_t I = 0; I < Steps.size(); ++I)
        if (Steps[I].CommandLine != CommandLines[I])
            return false;
    return true;
}

namespace {

std::string OwnBalloonText(const TIPSetValues& V) {
    if (V.Dhcp)
        return "DHCP: Si";
    return "IP: " + V.IPAddress + "\r" + "Mascara de subred: " + V.SubnetMask + "\r" +
           "Gateway: " + V.Gateway + "\r" + "DNS preferido: " + V.Dns + "\r" +
           "DNS alternativo: " + V.Dns2 + "\r" + "DHCP: No";
}

} // namespace

std::string SuccessBalloonText(const TIPSetValues& V) {
    std::string Text = OwnBalloonText(V);
    for (const std::string& Line : ExtraBalloonLines(V))
        Text += "\r" + Line;
    return Utf8CutAtLineEnd(Text, 255, '\r');
}

std::string StepOutcomeText(const TStepOutcome& Outcome) {
    if (Outcome.Failed)
        return "error al ejecutar netsh: " + Outcome.Error;
    if (Outcome.Result == -1)
        return "no se pudo ejecutar netsh";
    if (Outcome.Result != 0)
        return "netsh termino con el codigo " + std::to_string(Outcome.Result);
    return "correcto";
}

std::string FailureBalloonText(const std::vector<TStepOutcome>& Outcomes) {
    std::string Text;
    const std::string Total = std::to_string(Outcomes.size());
    for (size_t I = 0; I < Outcomes.size(); ++I) {
        if (Succeeded(Outcomes[I]))
            continue;
        if (!Text.empty())
            Text += "\r";
        Text +=
            "Paso " + std::to_string(I + 1) + " de " + Total + ": " + StepOutcomeText(Outcomes[I]);
    }
    return Text;
}

TApplyReport BuildApplyReport(const TIPSetValues& Values, const std::string& Failures) {
    if (Failures.empty())
        return {SuccessTitle, SuccessBalloonText(Values), true};
    return {ApplyErrorText, Failures, false};
}
