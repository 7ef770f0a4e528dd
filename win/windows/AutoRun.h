// The program's start with Windows, as the Administrator chose it: the one place that decides
// whether and what the registry holds for it.
#pragma once

// Makes the registry agree with the choice (the Administrator record's bAutoRun):
//  - the auto-run value of the account's Run key, which starts the program at every logon;
//  - the "*Quenby" value of its RunOnce key, which Windows also runs in Safe Mode and deletes
//    before it runs it, so that each start of the program arms it again.
// Both are written when the start with Windows is chosen and both removed when it is not. 0, or
// the registry status of the first change that failed (the later one is still tried).
long AlignAutoRun(bool bWanted);
