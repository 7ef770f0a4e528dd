// The guard's parts on their own: the pipe's messages, the Administrator's tokens, the watch over
// a session's program and the zone it holds.
#include <gtest/gtest.h>

#include <functional>

#include "core/guard/GuardMessage.h"
#include "core/guard/GuardTokens.h"
#include "core/guard/SessionWatch.h"
#include "core/guard/ZoneHold.h"
#include "support/EventRecorder.h"
#include "support/FakeClock.h"
#include "support/FakeSystemActions.h"

namespace {

GUARD_REQUEST Request(GUARD_KIND nKind) {
    GUARD_REQUEST request;
    request.nKind = nKind;
    return request;
}

// A WRITE request's bytes, to be spoiled one way or another.
BYTES WriteMessage() {
    GUARD_REQUEST request = Request(GUARD_KIND::WRITE);
    request.strName = "use.sta";
    request.data = BYTES(220, 7);
    return CGuardMessage::Encode(request);
}

void SetUInt32(BYTES& bytes, std::size_t nAt, std::uint32_t nValue) {
    for (int n = 0; n < 4; ++n) bytes[nAt + n] = static_cast<std::uint8_t>(nValue >> (8 * n));
}

}  // namespace

TEST(GuardMessage, EveryKindOfRequestComesThroughWhole) {
    std::vector<GUARD_REQUEST> requests;
    requests.push_back(Request(GUARD_KIND::HELLO));
    GUARD_REQUEST login = Request(GUARD_KIND::LOGIN);
    login.strName = "secret";
    requests.push_back(login);
    GUARD_REQUEST logout = Request(GUARD_KIND::LOGOUT);
    logout.token = BYTES(16, 0xAB);
    requests.push_back(logout);
    GUARD_REQUEST write = Request(GUARD_KIND::WRITE);
    write.strName = "prj.nam";
    write.data = BYTES(520 * 3, 0xCC);
    write.token = BYTES(16, 1);
    requests.push_back(write);
    GUARD_REQUEST event = Request(GUARD_KIND::EVENT);
    event.strName = "wrong password", event.strAccount = "Administrator", event.strDetail = "at the lock screen";
    requests.push_back(event);
    GUARD_REQUEST beat = Request(GUARD_KIND::BEAT);
    beat.strName = "kid", beat.strAccount = std::string(400, 'z');
    requests.push_back(beat);
    GUARD_REQUEST state = Request(GUARD_KIND::STATE);
    state.nState = 4;
    requests.push_back(state);

    for (const GUARD_REQUEST& sent : requests) {
        SCOPED_TRACE(CGuardMessage::KindName(sent.nKind));
        GUARD_REQUEST got;
        ASSERT_TRUE(CGuardMessage::Decode(CGuardMessage::Encode(sent), got));
        EXPECT_EQ(got.nKind, sent.nKind);
        EXPECT_EQ(got.token, sent.token);
        EXPECT_EQ(got.strName, sent.strName);
        EXPECT_EQ(got.data, sent.data);
        EXPECT_EQ(got.strAccount, sent.strAccount);
        EXPECT_EQ(got.strDetail, sent.strDetail);
        EXPECT_EQ(got.nState, sent.nState);
    }

    GUARD_ANSWER answer{GUARD_STATUS::WAIT, BYTES(16, 9), "4"};
    GUARD_ANSWER got;
    ASSERT_TRUE(CGuardMessage::Decode(CGuardMessage::Encode(GUARD_KIND::LOGIN, answer), GUARD_KIND::LOGIN, got));
    EXPECT_EQ(got.nStatus, GUARD_STATUS::WAIT);
    EXPECT_EQ(got.token, answer.token);
    EXPECT_EQ(got.strDetail, "4");
    EXPECT_FALSE(CGuardMessage::Decode(CGuardMessage::Encode(GUARD_KIND::LOGIN, answer), GUARD_KIND::WRITE, got))
        << "an answer to another request is not taken";
}

TEST(GuardMessage, AnythingButOneWholeWellFormedRequestIsRefused) {
    const BYTES good = WriteMessage();
    const struct {
        const char* pszCase;
        std::function<void(BYTES&)> spoil;
    } cases[] = {
        {"empty", [](BYTES& m) { m.clear(); }},
        {"cut inside the header", [](BYTES& m) { m.resize(7); }},
        {"cut inside the body", [](BYTES& m) { m.pop_back(); }},
        {"a byte too many", [](BYTES& m) { m.push_back(0); }},
        {"the header claims more than came", [](BYTES& m) { SetUInt32(m, 8, static_cast<std::uint32_t>(m.size())); }},
        {"the header claims more than the guard reads",
         [](BYTES& m) { SetUInt32(m, 8, static_cast<std::uint32_t>(CGuardMessage::kMaxBody + 1)); }},
        {"the header claims 4 GiB", [](BYTES& m) { SetUInt32(m, 8, 0xFFFFFFFFu); }},
        {"another tag", [](BYTES& m) { m[0] = 'X'; }},
        {"another version", [](BYTES& m) { m[4] = 2; }},
        {"an unknown kind", [](BYTES& m) { m[6] = 99; }},
        {"kind 0", [](BYTES& m) { m[6] = 0; }},
        {"a token of 5 bytes", [](BYTES& m) { SetUInt32(m, 12, 5); }},
        {"a field running past the body", [](BYTES& m) { SetUInt32(m, 16, 0x7FFFFFFFu); }},
        {"a zero byte inside the file's name", [](BYTES& m) { m[20] = 0; }},
        {"a field short of the kind",
         [](BYTES& m) {
             GUARD_REQUEST login = Request(GUARD_KIND::LOGIN);
             m = CGuardMessage::Encode(login);
             m.resize(m.size() - 4);  // the password field's length gone
             SetUInt32(m, 8, static_cast<std::uint32_t>(m.size() - CGuardMessage::kHeaderSize));
         }},
        {"a field beyond the kind's",
         [](BYTES& m) {
             m.insert(m.end(), {0, 0, 0, 0});
             SetUInt32(m, 8, static_cast<std::uint32_t>(m.size() - CGuardMessage::kHeaderSize));
         }},
        {"a name longer than any file's",
         [](BYTES& m) {
             GUARD_REQUEST write = Request(GUARD_KIND::WRITE);
             write.strName = std::string(CGuardMessage::kMaxName + 1, 'a');
             m = CGuardMessage::Encode(write);
         }},
        {"a state of 3 bytes",
         [](BYTES& m) {
             GUARD_REQUEST state = Request(GUARD_KIND::STATE);
             m = CGuardMessage::Encode(state);
             SetUInt32(m, 16, 3);
             m.pop_back();
             SetUInt32(m, 8, static_cast<std::uint32_t>(m.size() - CGuardMessage::kHeaderSize));
         }},
    };
    GUARD_REQUEST request;
    ASSERT_TRUE(CGuardMessage::Decode(good, request));
    for (const auto& c : cases) {
        BYTES message = good;
        c.spoil(message);
        GUARD_REQUEST decoded;
        decoded.strName = "untouched";
        EXPECT_FALSE(CGuardMessage::Decode(message, decoded)) << c.pszCase;
        EXPECT_EQ(decoded.strName, "untouched") << c.pszCase;
    }
}

TEST(GuardTokens, AProofServesTheProcessThatAskedUntilLogoutOrHalfAnHour) {
    CFakeClock clock(1778576400);
    CGuardTokens tokens;
    BYTES token, other;
    ASSERT_TRUE(tokens.Issue(100, token));
    ASSERT_TRUE(tokens.Issue(200, other));
    EXPECT_EQ(token.size(), 16u);
    EXPECT_NE(token, other);
    EXPECT_TRUE(tokens.IsValid(token, 100));
    EXPECT_FALSE(tokens.IsValid(token, 200)) << "another process's proof";
    EXPECT_FALSE(tokens.IsValid(BYTES(16, 0), 100)) << "a made-up one";
    EXPECT_FALSE(tokens.IsValid(BYTES(token.begin(), token.begin() + 8), 100));

    clock.Turn(-3600);  // the wall clock is nothing to a token
    clock.AdvanceMs(CGuardTokens::kLifetimeMs - 1);
    EXPECT_TRUE(tokens.IsValid(token, 100));
    EXPECT_TRUE(tokens.AnyValid());
    clock.AdvanceMs(1);
    EXPECT_FALSE(tokens.IsValid(token, 100)) << "half an hour later";
    EXPECT_FALSE(tokens.AnyValid());

    ASSERT_TRUE(tokens.Issue(100, token));
    tokens.End(token);
    EXPECT_FALSE(tokens.IsValid(token, 100)) << "after logout";
    ASSERT_TRUE(tokens.Issue(100, token));
    tokens.EndForProcess(100);
    EXPECT_FALSE(tokens.IsValid(token, 100)) << "after its process ended";
}

TEST(SessionWatch, TheSessionsProgramIsStartedWhenGoneAndRestartedWhenItStandsStill) {
    CSessionWatch watch;
    std::int64_t t = 1000;
    EXPECT_EQ(watch.Decide(false, false, t), WATCH_ACTION::START) << "a new session";
    watch.OnStarted(11, t);
    EXPECT_EQ(watch.Decide(true, false, t + CSessionWatch::kFirstBeatGraceMs), WATCH_ACTION::NONE)
        << "a program starting has its grace";
    EXPECT_EQ(watch.Decide(true, false, t + CSessionWatch::kFirstBeatGraceMs + 1), WATCH_ACTION::RESTART)
        << "...but no more";
    watch.OnBeat(11, "kid", 1778576400, t += 2000);
    EXPECT_EQ(watch.Decide(true, false, t + CSessionWatch::kBeatTimeoutMs), WATCH_ACTION::NONE);
    EXPECT_EQ(watch.Decide(true, false, t + CSessionWatch::kBeatTimeoutMs + 1), WATCH_ACTION::RESTART) << "suspended";
    EXPECT_EQ(watch.Decide(false, false, t + 10), WATCH_ACTION::START) << "ended: started again at once";
    EXPECT_EQ(watch.User(), "kid");
    EXPECT_EQ(watch.LastBeat(), 1778576400);

    // A program started from the Start menu beats in the session: it is watched as well.
    watch.OnBeat(12, "", 1778576410, t += 1000);
    EXPECT_EQ(watch.Pid(), 12u);
    EXPECT_EQ(watch.Decide(true, false, t + 1000), WATCH_ACTION::NONE);

    // Ended on purpose: closed by the Administrator, or while the Administrator was in.
    watch.OnState(4);
    EXPECT_EQ(watch.Decide(false, true, t + 100), WATCH_ACTION::NONE);
    EXPECT_EQ(watch.Decide(false, false, t + 100), WATCH_ACTION::START) << "the Administrator's proof ran out";
    watch.OnState(3);
    EXPECT_EQ(watch.Decide(false, false, t + 100), WATCH_ACTION::NONE);
    watch.OnState(0);
    EXPECT_EQ(watch.LastBeat(), 0) << "an orderly end leaves no gap to count";
}

TEST(SessionWatch, AProgramThatNeverBeatsIsStartedAgainAfterAGrowingPause) {
    CSessionWatch watch;
    std::int64_t t = 0;
    std::vector<std::int64_t> pauses;
    watch.OnStarted(1, t);
    for (int n = 0; n < 8; ++n) {
        std::int64_t nWaited = 0;
        while (watch.Decide(false, false, t + nWaited) != WATCH_ACTION::START) nWaited += 100;
        pauses.push_back(nWaited);
        t += nWaited;
        watch.OnStarted(2 + n, t);
    }
    EXPECT_EQ(pauses, (std::vector<std::int64_t>{0, 1000, 2000, 4000, 8000, 16000, 30000, 30000}));
    watch.OnBeat(20, "", 1, t + 50);
    watch.OnStarted(21, t + 100);
    EXPECT_EQ(watch.Decide(false, false, t + 100), WATCH_ACTION::START) << "once it beat, no pause";
}

TEST(ZoneHold, AZoneChangedDuringAChildsDayIsSetBackOtherwiseTaken) {
    CFakeClock clock(1778576400);
    CFakeSystemActions system;
    CEventRecorder events;
    clock.SetZone(3600);
    CZoneHold hold;
    hold.Hold("");
    EXPECT_EQ(hold.Zone(), "UTC3600");

    clock.SetZone(-5 * 3600);
    system.m_onSetZone = [&clock](const std::string& strZone) {
        if (strZone == "UTC3600") clock.SetZone(3600);
        return true;
    };
    EXPECT_EQ(hold.Check(true), CZoneHold::RESULT::SET_BACK);
    EXPECT_EQ(clock.Zone(), "UTC3600");
    EXPECT_EQ(events.Count(EVENT_KIND::ZONE_CHANGED), 1u);

    clock.SetZone(7200);
    EXPECT_EQ(hold.Check(false), CZoneHold::RESULT::TAKEN) << "the parent's day, or no child's";
    EXPECT_EQ(hold.Zone(), "UTC7200");
    EXPECT_EQ(hold.Check(true), CZoneHold::RESULT::SAME);

    clock.SetZone(0);
    system.m_onSetZone = nullptr;
    EXPECT_EQ(hold.Check(true), CZoneHold::RESULT::NOT_SET_BACK);
    EXPECT_EQ(events.Count(EVENT_KIND::ZONE_NOT_RESTORED), 1u);
    EXPECT_EQ(hold.Check(true), CZoneHold::RESULT::SAME) << "a refused zone is not fought over";
    EXPECT_TRUE(system.CallsStartingWith("set time").empty()) << "the clock is never touched";
}

// ---- The judgement of writes, rule by rule ----

#include "core/guard/WriteCheck.h"
#include "core/rules/ExtraTime.h"
#include "core/rules/UsageState.h"
#include "core/store/ChildAccountList.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/HistoryFile.h"
#include "core/store/PrjStore.h"
#include "core/store/RecordField.h"
#include "core/store/RecordWriter.h"
#include "core/store/UsageStore.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

constexpr TIMESECS kNoon = 1778587200;  // 2026-05-12 12:00 UTC, a Tuesday

BYTES UsageImage(std::int32_t nUsed, TIMESECS tSaved, std::int32_t nState = STATE_ALLOWED,
                 std::int32_t nTotalLeft = -2, std::int32_t nRestLeft = -1) {
    USAGE_RECORD record;
    record.strUser = "kid";
    record.nUsedSecs = nUsed;
    record.nTotalSecsLeft = nTotalLeft == -2 ? 5400 - nUsed : nTotalLeft;
    record.nUseSecsBeforeRest = 1500;
    record.nRestSecsLeft = nRestLeft;
    record.tLastSave = tSaved;
    record.nStateId = nState;
    CUsageStore store;
    store.Add(record);
    CTempFolder scratch;
    store.Save();
    return scratch.Read("use.sta");
}

BYTES ExtraImage(std::int32_t nDate, std::int32_t nGranted, std::int32_t nLeft, std::int32_t nLocks = 0) {
    CRecordWriter writer;
    writer.PutText("kid", 128);
    for (std::int32_t n : {nDate, nGranted, nLeft, nLocks}) writer.PutInt32(n);
    return writer.Bytes();
}

// Two accounts as child.nam keeps them (their password fields hashed once, as a save does).
BYTES ChildImage(int nKidNotice, int nSisterNotice, const char* pszSister = "sister") {
    static const BYTES s_base = [] {
        CChildAccountList children;
        children.Add("kid");
        children.Add("sister");
        CTempFolder scratch;
        children.Save();
        return scratch.Read("child.nam");
    }();
    BYTES image = s_base;
    CopyToField(pszSister, image.data() + 172, 128);
    for (int n = 0; n < 4; ++n) {
        image[164 + n] = static_cast<std::uint8_t>(nKidNotice >> (8 * n));
        image[172 + 164 + n] = static_cast<std::uint8_t>(nSisterNotice >> (8 * n));
    }
    return image;
}

BYTES PrjImage(std::initializer_list<const char*> names, bool bFreeKid = false) {
    std::list<CUserPrj> weeks;
    for (const char* pszName : names) weeks.emplace_back(pszName);
    if (bFreeKid) weeks.front().m_days[2].m_bFree = 1;
    return CPrjStore::Image(weeks);
}

BYTES Text(const std::string& str) { return BYTES(str.begin(), str.end()); }

BYTES ProgramUseImage(std::int32_t nDate, std::int32_t nUsed, std::int32_t nEndings = 0) {
    CRecordWriter writer;
    writer.PutText("kid", 128);
    writer.PutText("game.exe", 128);
    for (std::int32_t n : {nDate, nUsed, nEndings}) writer.PutInt32(n);
    return writer.Bytes();
}

}  // namespace

TEST(WriteCheck, EachFileTakesWhatItsRuleAllowsAndNothingMore) {
    CTimeZone zone("UTC0");
    CFakeClock clock(kNoon);
    const TIMESECS tSaved = kNoon - 30;
    const int nToday = DateKey(kNoon);
    const std::string strHeader = std::string(CHistoryFile::kHeader) + "\r\n";
    const std::string strYesterday = CHistoryFile::Format({nToday - 1, "kid", 50, 90, 1, 0, ""}) + "\r\n";
    const struct {
        const char* pszCase;
        const char* pszFile;
        BYTES oldImage, newImage;
        bool bAdministrator;
        bool bAllowed;
    } cases[] = {
        {"use counts up", "use.sta", UsageImage(600, tSaved), UsageImage(660, kNoon), false, true},
        {"use goes down", "use.sta", UsageImage(600, tSaved), UsageImage(599, kNoon), false, false},
        {"use goes down, even for the Administrator", "use.sta", UsageImage(600, tSaved), UsageImage(0, kNoon), true, false},
        {"yesterday's record over today's", "use.sta", UsageImage(600, tSaved), UsageImage(9000, kNoon - 86400), false, false},
        {"today's record over yesterday's", "use.sta", UsageImage(600, kNoon - 86400), UsageImage(0, kNoon), false, true},
        {"a record dated ahead", "use.sta", BYTES(), UsageImage(0, kNoon + 3600), false, false},
        {"today's record dropped", "use.sta", UsageImage(600, tSaved), BYTES(), false, false},
        {"today's record dropped with its account", "use.sta", UsageImage(600, tSaved), BYTES(), true, true},
        {"more of the total left than the day gives", "use.sta", UsageImage(600, tSaved),
         UsageImage(660, kNoon, STATE_ALLOWED, 5400), false, false},
        {"a rest running on", "use.sta", UsageImage(1500, tSaved, STATE_FORCED_REST, -2, 600),
         UsageImage(1500, kNoon, STATE_FORCED_REST, -2, 570), false, true},
        {"a rest dropped", "use.sta", UsageImage(1500, tSaved, STATE_FORCED_REST, -2, 600),
         UsageImage(1500, kNoon, STATE_ALLOWED, -2, -1), false, false},
        {"a rest cut short", "use.sta", UsageImage(1500, tSaved, STATE_FORCED_REST, -2, 600),
         UsageImage(1500, kNoon, STATE_FORCED_REST, -2, 60), false, false},
        {"a rest that has run its time", "use.sta", UsageImage(1500, kNoon - 700, STATE_FORCED_REST, -2, 600),
         UsageImage(1500, kNoon, STATE_REST_DONE, -2, -1), false, true},
        {"half a record", "use.sta", BYTES(), BYTES(110, 0), false, false},

        {"extra time used up", "extra.tim", ExtraImage(nToday, 900, 900), ExtraImage(nToday, 900, 300, 1), false, true},
        {"extra time granted by a child", "extra.tim", ExtraImage(nToday, 900, 300), ExtraImage(nToday, 900, 900), false, false},
        {"a first record with time in it", "extra.tim", BYTES(), ExtraImage(nToday, 7200, 7200), false, false},
        {"a new day's record starts empty", "extra.tim", ExtraImage(nToday - 1, 900, 0), ExtraImage(nToday, 0, 0), false, true},
        {"extra time granted by the Administrator", "extra.tim", BYTES(), ExtraImage(nToday, 900, 900), true, true},
        {"more left than granted", "extra.tim", BYTES(), ExtraImage(nToday, 900, 1800), true, false},
        {"yesterday's record over today's", "extra.tim", ExtraImage(nToday, 0, 0, 3), ExtraImage(nToday - 1, 0, 0), false, false},

        {"the child's own notices", "child.nam", ChildImage(30, 30), ChildImage(20, 30), false, true},
        {"another child's notices", "child.nam", ChildImage(30, 30), ChildImage(30, 10), false, false},
        {"an account renamed", "child.nam", ChildImage(30, 30), ChildImage(30, 30, "brother"), false, false},
        {"an account renamed by the Administrator", "child.nam", ChildImage(30, 30), ChildImage(30, 30, "brother"), true, true},

        {"a default week for a child without one", "prj.nam", PrjImage({"kid"}), PrjImage({"kid", "sister"}), false, true},
        {"a week made Free", "prj.nam", PrjImage({"kid"}), PrjImage({"kid"}, true), false, false},
        {"a second week for a child", "prj.nam", PrjImage({"kid"}), PrjImage({"kid", "kid"}), false, false},
        {"a week made Free by the Administrator", "prj.nam", PrjImage({"kid"}), PrjImage({"kid"}, true), true, true},

        {"parent.nam by a child", "parent.nam", BYTES(200, 0), BYTES(200, 1), false, false},
        {"parent.nam by the Administrator", "parent.nam", BYTES(200, 0), BYTES(200, 1), true, true},
        {"parent.nam of two records", "parent.nam", BYTES(200, 0), BYTES(400, 1), true, false},

        {"a day added to the history", "history.csv", Text(strHeader), Text(strHeader + strYesterday), false, true},
        {"the first day with its header", "history.csv", BYTES(), Text(strHeader + strYesterday), false, true},
        {"a day of the history removed", "history.csv", Text(strHeader + strYesterday), Text(strHeader), true, false},
        {"a day written twice", "history.csv", Text(strHeader + strYesterday), Text(strHeader + strYesterday + strYesterday),
         false, false},
        {"today in the history", "history.csv", Text(strHeader),
         Text(strHeader + CHistoryFile::Format({nToday, "kid", 5, 90, 0, 0, ""}) + "\r\n"), false, false},
        {"a line that is no day", "history.csv", Text(strHeader), Text(strHeader + "kid,never\r\n"), false, false},
        {"a line without its end", "history.csv", Text(strHeader), Text(strHeader + strYesterday.substr(0, 20)), false, false},
        {"fewer minutes than use.sta counted", "history.csv", Text(strHeader),
         Text(strHeader + CHistoryFile::Format({nToday - 1, "kid", 1, 90, 0, 0, ""}) + "\r\n"), false, false},

        {"a program's minutes count up", "programs.use", ProgramUseImage(nToday, 600), ProgramUseImage(nToday, 660, 1),
         false, true},
        {"a program's minutes go down", "programs.use", ProgramUseImage(nToday, 600), ProgramUseImage(nToday, 60), false, false},
        {"a program's endings go down", "programs.use", ProgramUseImage(nToday, 600, 2), ProgramUseImage(nToday, 600, 1),
         false, false},
        {"a program's day dropped", "programs.use", ProgramUseImage(nToday, 600), BYTES(), false, false},
        {"a program's day gone by dropped", "programs.use", ProgramUseImage(nToday - 1, 600), BYTES(), false, true},
        {"a program's day dated ahead", "programs.use", BYTES(), ProgramUseImage(nToday + 1, 0), false, false},
        {"limits per program by a child", "programs.lim", BYTES(), BYTES(548, 0), false, false},
        {"limits per program by the Administrator", "programs.lim", BYTES(548, 1), BYTES(), true, true},
        {"a program's day under the header that names the program", "history.csv", Text(strHeader + strYesterday),
         Text(std::string(CHistoryFile::kProgramHeader) + "\r\n" + strYesterday +
              CHistoryFile::Format({nToday - 1, "kid", 5, 30, 1, 0, "game.exe"}) + "\r\n"),
         false, true},

        {"the session's list of children", "userinfo.aur", BYTES(128, 1), BYTES(256, 2), false, true},
        {"a file that is not Quenby's", "lumrik.dat", BYTES(), BYTES(272, 0), true, false},
    };
    WRITE_CONTEXT context;
    context.strChild = "kid";
    context.tNow = kNoon;
    context.prj = PrjImage({"kid"});
    context.usage = UsageImage(3000, kNoon - 86400);  // 50 minutes yesterday
    for (const auto& c : cases) {
        context.bAdministrator = c.bAdministrator;
        const std::string strWhy = CWriteCheck::Check(c.pszFile, c.oldImage, c.newImage, context);
        EXPECT_EQ(strWhy.empty(), c.bAllowed) << c.pszFile << ": " << c.pszCase << " (" << strWhy << ")";
    }
}

// ---- Which Windows accounts are protected ----

#include "core/store/ProtectedAccounts.h"

TEST(ProtectedAccounts, EveryAccountButAnAdministratorsUnlessTheParentChoseOtherwise) {
    CTempFolder folder;
    CProtectedAccounts accounts;
    EXPECT_FALSE(accounts.Load());
    EXPECT_TRUE(accounts.IsProtected("kid", false));
    EXPECT_FALSE(accounts.IsProtected("Dad", true));

    const std::vector<ACCOUNT_ROW> machine = {{"Dad", true, false}, {"kid", false, false}, {"Guest", false, false}};
    std::vector<ACCOUNT_ROW> rows = accounts.Rows(machine);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (ACCOUNT_ROW{"Dad", true, false}));
    EXPECT_EQ(rows[1], (ACCOUNT_ROW{"kid", false, true}));
    // The parent protects an administrator's account (a teenager's) and frees the guest's.
    rows[0].bProtected = true;
    rows[2].bProtected = false;
    accounts.Take(rows);
    ASSERT_TRUE(accounts.Save());
    EXPECT_EQ(folder.Read("protect.nam").size(), 2 * CProtectedAccounts::kRecordSize) << "one record a choice";

    CProtectedAccounts reread;
    ASSERT_TRUE(reread.Load());
    EXPECT_TRUE(reread.IsProtected("DAD", true)) << "account names are compared as Windows does";
    EXPECT_FALSE(reread.IsProtected("guest", false));
    EXPECT_TRUE(reread.IsProtected("kid", false));
    // Ticked back as the rule has it: the choice goes.
    rows = reread.Rows({{"kid", false, false}});
    ASSERT_EQ(rows.size(), 3u) << "accounts only the list names are shown too";
    for (ACCOUNT_ROW& row : rows) row.bProtected = !row.bAdministrator;
    reread.Take(rows);
    EXPECT_TRUE(reread.GetList().empty());
}
