// Reminders in user.dat: the checks on what the user typed, titles stored as typed (never as SQL),
// edits, deletion, a file from before reminders and one from a newer version.
#include <gtest/gtest.h>

#include "calendar/reminder_store.h"
#include "platform/database.h"
#include "tests/support/temp_dir.h"
#include "tests/support/db_text.h"

namespace {

class ReminderStore : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenDatabase(dir_.Dir() + u"user.dat", DbOpenMode::kCreate);  // an empty file: no tables yet
    ASSERT_TRUE(PrepareReminderTables());
  }
  void TearDown() override { CloseDatabase(); }
  tvtest::TempDir dir_;
};

std::u16string Problem(ReminderDraft draft) {
  Reminder r;
  return CheckReminder(draft, r);
}

}  // namespace

TEST(ReminderCheck, RefusesWhatNoReminderCanBe) {
  const ReminderDraft good{u"  妈妈生日 ", u"lunar leap 4-10", u"8:05", 3};
  Reminder r;
  ASSERT_EQ(CheckReminder(good, r), u"");
  EXPECT_EQ(r.title, u"妈妈生日");
  EXPECT_EQ(r.minuteOfDay, 8 * 60 + 5);
  EXPECT_EQ(TimeOfDayText(r.minuteOfDay), u"08:05");
  EXPECT_EQ(Problem({u"ok", u"lunar 2-30", u"00:00", 0}), u"");     // some years' 二月 has a 30th
  EXPECT_EQ(Problem({u"ok", u"solar 02-29", u"23:59", 365}), u"");  // 28 February in other years
  for (const ReminderDraft& bad : {
           ReminderDraft{u"", u"lunar 8-15", u"09:00", 0}, ReminderDraft{u" \t ", u"lunar 8-15", u"09:00", 0},
           ReminderDraft{u"two\r\nlines", u"lunar 8-15", u"09:00", 0},
           ReminderDraft{std::u16string(201, u'字'), u"lunar 8-15", u"09:00", 0},
           ReminderDraft{u"t", u"lunar 13-1", u"09:00", 0}, ReminderDraft{u"t", u"solar 02-30", u"09:00", 0},
           ReminderDraft{u"t", u"lunar 8-31", u"09:00", 0}, ReminderDraft{u"t", u"lunar 8-15", u"24:00", 0},
           ReminderDraft{u"t", u"lunar 8-15", u"12:60", 0}, ReminderDraft{u"t", u"lunar 8-15", u"9", 0},
           ReminderDraft{u"t", u"lunar 8-15", u"-1:00", 0}, ReminderDraft{u"t", u"lunar 8-15", u"09:00", -1},
           ReminderDraft{u"t", u"lunar 8-15", u"09:00", 366}}) {
    EXPECT_NE(Problem(bad), u"") << std::string(bad.rule.begin(), bad.rule.end());
  }
}

TEST_F(ReminderStore, AddsEditsAndDeletesWithTheTitleAsTyped) {
  const std::u16string title = u"x'); drop table reminders; -- 妈妈";
  const ReminderSave first = AddReminder({title, u"lunar 8-15", u"09:30", 1});
  ASSERT_EQ(first.problem, u"");
  const ReminderSave second = AddReminder({u"冬至", u"term 冬至", u"07:00", 0});
  ASSERT_GT(second.id, first.id);

  // Refused drafts store nothing.
  EXPECT_NE(AddReminder({u"", u"lunar 8-15", u"09:30", 1}).problem, u"");
  EXPECT_NE(AddReminder({u"t", u"lunar 13-1", u"09:30", 1}).problem, u"");
  std::vector<Reminder> all = LoadReminders();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].title, title);
  EXPECT_EQ(RecurrenceText(all[0].rule), u"lunar 8-15");
  EXPECT_EQ(all[0].minuteOfDay, 9 * 60 + 30);
  EXPECT_EQ(all[0].noticeDays, 1);
  EXPECT_EQ(all[0].created.size(), 19u);
  EXPECT_FALSE(all[0].lastShown.has_value());

  // Shown, then edited: the title alone keeps lastshown, a new rule forgets it.
  ASSERT_TRUE(MarkReminderShown(first.id, Day::FromCivil(2027, 9, 15)));
  ASSERT_EQ(UpdateReminder(first.id, {u"中秋", u"lunar 8-15", u"09:30", 2}).problem, u"");
  all = LoadReminders();
  EXPECT_EQ(all[0].title, u"中秋");
  EXPECT_EQ(all[0].lastShown, Day::FromCivil(2027, 9, 15));
  ASSERT_EQ(UpdateReminder(first.id, {u"中秋", u"lunar 8-16", u"09:30", 2}).problem, u"");
  EXPECT_FALSE(LoadReminders()[0].lastShown.has_value());
  EXPECT_NE(UpdateReminder(first.id, {u"中秋", u"lunar 8-16", u"25:00", 2}).problem, u"");
  EXPECT_NE(UpdateReminder(9999, {u"gone", u"lunar 8-16", u"09:30", 2}).problem, u"");

  ASSERT_TRUE(DeleteReminder(first.id));
  all = LoadReminders();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].title, u"冬至");

  // A row written by something else with a rule no year has is left out, not fatal.
  tvtest::Sql(u"insert into reminders (title,rule,time,notice,created) values ('bad','lunar 13-1','09:00',0,'')");
  EXPECT_EQ(LoadReminders().size(), 1u);
}

TEST_F(ReminderStore, ANewerLayoutIsLeftUnchanged) {
  ASSERT_EQ(AddReminder({u"keep", u"solar 01-01", u"09:00", 0}).problem, u"");
  tvtest::Sql(u"update reminders_schema set version=2");
  EXPECT_FALSE(PrepareReminderTables());
  EXPECT_NE(AddReminder({u"new", u"solar 01-01", u"09:00", 0}).problem, u"");
  EXPECT_FALSE(DeleteReminder(1));
  EXPECT_EQ(LoadReminders().size(), 1u);  // still readable
}
