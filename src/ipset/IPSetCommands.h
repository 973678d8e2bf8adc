#pragma once

#include "data/IPSetExtras.h"

#include <string>
#include <vector>

// The values of one IP set as stored, and the connection name it is applied to.
struct TIPSetValues {
    std::string Connection;
    bool Dhcp = false;
    std::string IPAddress;
    std::string SubnetMask;
    std::string Gateway;
    std::string Dns;
    std::string Dns2;
    TIPSetExtras Extras;
};

// One command line of an apply and the progress shown once it has run.
struct TApplyStep {
    std::string CommandLine;
    int Progress = 0;
};

// How one step ended. Failed is set when an error was raised while running it.
struct TStepOutcome {
    int Result = 0;
    bool Failed = false;
    std::string Error;
};

// The command lines of a static set (three) or of a DHCP set (two), then those of its extras, in
// the order they run. AdapterIPv6: the static IPv6 addresses the set's adapter has now, which an
// "automatic" IPv6 part deletes.
std::vector<TApplyStep> BuildApplySteps(const TIPSetValues& Values,
                                        const std::vector<std::string>& AdapterIPv6 = {});

// False when the name could break out of its quotes in a command line: a double quote, a
// backslash (before the closing quote it escapes it) or a control character.
bool IsSafeConnectionName(const std::string& Name);

// False when a value could break out of its place in a command line or mean to netsh other than
// what it shows: an unsafe connection name, or an address used that is neither empty nor a
// dotted quad of four decimal groups of at most 255 without leading zeros, or an extra the set
// applies that fails its check or is an IPv6 text in other than its canonical form.
bool IsSafeToApply(const TIPSetValues& Values);

// True when the lines are, in order and byte for byte, what BuildApplySteps makes for values that
// pass IsSafeToApply: the check of whoever is handed an apply's lines to run.
bool AreSafeApplyLines(const std::vector<std::string>& CommandLines);

// What an apply tells the user at its end: the balloon's title and text.
struct TApplyReport {
    std::string Title;
    std::string Text;
    bool Succeeded = false; // the set is in force
    bool Warning = false;   // in force, but something is still missing (a DHCP lease)
};

// The message an apply raises when it cannot run at all, also the title of a failed one.
extern const char* const ApplyErrorText;
// The title of the success report.
extern const char* const SuccessTitle;

// The success balloon's text: the set's own lines, then one per extra value it applies, cut at a
// line end to the balloon's 255 characters.
std::string SuccessBalloonText(const TIPSetValues& Values);

// "correcto", or what went wrong with the step.
std::string StepOutcomeText(const TStepOutcome& Outcome);

// One line per failed step ("Paso 2 de 3: ..."), joined by CR; empty when every step succeeded.
std::string FailureBalloonText(const std::vector<TStepOutcome>& Outcomes);

// The success report, or the failure report with Failures when it is not empty.
TApplyReport BuildApplyReport(const TIPSetValues& Values, const std::string& Failures);
