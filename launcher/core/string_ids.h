#pragma once
// Identifiers of the launcher's texts in its language library, uistrings.dll.
namespace launcher::ids {

// Strings
constexpr unsigned kSeparator = 102;
constexpr unsigned kSummaryFailed = 103;
constexpr unsigned kSummaryPassed = 104;
constexpr unsigned kWindowTitle = 107;
constexpr unsigned kStartButton = 116;
constexpr unsigned kStopButton = 117;
constexpr unsigned kInstruction = 123;
constexpr unsigned kRunTitle = 125;
constexpr unsigned kInstructionRunning = 126;
constexpr unsigned kPercentFormat = 129;
constexpr unsigned kRunPreventsClose = 130;
constexpr unsigned kModuleLoadFailed = 131;
constexpr unsigned kSummaryStopped = 139;
constexpr unsigned kHistoryStopped = 140;
constexpr unsigned kHistoryPassed = 141;
constexpr unsigned kHistoryFailed = 142;
constexpr unsigned kSummaryRecoveryFailed = 143;
constexpr unsigned kBoxCaption = 160;
constexpr unsigned kCloseButton = 163;
constexpr unsigned kCloseQuestion = 164;
constexpr unsigned kRunTitleFullTest = 165;
constexpr unsigned kEstimateFormat = 168;
constexpr unsigned kInstructionFullTest = 169;
constexpr unsigned kInstructionFinished = 173;
// Burn-in runs
constexpr unsigned kCycleOfCycles = 300;
constexpr unsigned kCycleOfMinutes = 301;
constexpr unsigned kBurnInCounts = 302;
constexpr unsigned kBurnInFirstFailure = 303;
constexpr unsigned kBurnInFirstFailureSubTest = 304;
constexpr unsigned kBurnInNoFailure = 305;
constexpr unsigned kBurnInCycleTimes = 306;
constexpr unsigned kBurnInEndRequested = 307;

// Dialog templates, menu and icon
constexpr unsigned kOuterWindowTemplate = 148;
constexpr unsigned kDiagnosticsTemplate = 102;
constexpr unsigned kTestPageTemplate = 133;
constexpr unsigned kContextMenu = 137;
constexpr unsigned kWindowIcon = 1000;

// Resources of artpack.dll
constexpr unsigned kTextureBitmap = 1002;
constexpr unsigned kDialogBitmap = 1003;
constexpr unsigned kDialogIconLarge = 1004;
constexpr unsigned kDialogIconSmall = 1005;

}  // namespace launcher::ids
