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
constexpr unsigned kFolderIsLink = 360;
constexpr unsigned kFolderForeignOwner = 361;

// The run's report page and its button on the finished page (320 to 359)
constexpr unsigned kReportTitle = 320;
constexpr unsigned kReportVerdictPass = 321;
constexpr unsigned kReportVerdictFail = 322;
constexpr unsigned kReportVerdictStopped = 323;
constexpr unsigned kReportVerdictIncomplete = 324;
constexpr unsigned kReportComputer = 325;
constexpr unsigned kReportModel = 326;
constexpr unsigned kReportComputerName = 327;
constexpr unsigned kReportWindows = 328;
constexpr unsigned kReportVersion = 329;
constexpr unsigned kReportCommandLine = 330;
constexpr unsigned kReportStarted = 331;
constexpr unsigned kReportEnded = 332;
constexpr unsigned kReportTests = 333;
constexpr unsigned kReportTest = 334;
constexpr unsigned kReportResult = 335;
constexpr unsigned kReportTime = 336;
constexpr unsigned kReportDuration = 337;
constexpr unsigned kReportSubResults = 338;
constexpr unsigned kReportCycle = 339;
constexpr unsigned kReportCycles = 340;
constexpr unsigned kReportPass = 341;
constexpr unsigned kReportFail = 342;
constexpr unsigned kReportStopped = 343;
constexpr unsigned kReportLog = 344;
constexpr unsigned kReportLinesLeftOut = 345;
constexpr unsigned kReportFaults = 346;
constexpr unsigned kReportPicture = 347;
constexpr unsigned kReportPoints = 348;
constexpr unsigned kReportFirstPoints = 349;
constexpr unsigned kReportX = 350;
constexpr unsigned kReportY = 351;
constexpr unsigned kReportExpected = 352;
constexpr unsigned kReportRead = 353;
constexpr unsigned kReportFiles = 354;
constexpr unsigned kReportResultFile = 355;
constexpr unsigned kReportLogFile = 356;
constexpr unsigned kReportNone = 357;
constexpr unsigned kReportNoTests = 358;
constexpr unsigned kOpenReport = 359;

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
