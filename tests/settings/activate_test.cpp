#include "core/job.h"
#include "core/jobsettings.h"
#include "settings/activate.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(FormatOfProfile, DigitCountsKeepLowEightBitsOfDecimalTexts) {
  const std::pair<const char*, int> cases[] = {
      {"3", 3},   {"259", 3}, {"0x1F", 0}, {" 4 ", 4}, {"\t5\t", 5},      {"-1", 255},
      {"abc", 0}, {"", 0},    {"+7", 7},   {"1.5", 0}, {"4294967296", 0}, {"4294967295", 255},
  };
  for (const auto& [text, value] : cases) {
    Profile p;
    p.Stellen = text;
    p.Nachkommastellen = text;
    const TNCFormat f = FormatOfProfile(p);
    EXPECT_EQ(f.Stellen, value) << text;
    EXPECT_EQ(f.Nachkommastellen, value) << text;
  }
}

TEST(FormatOfProfile, StepAndStartAreDecimal32BitTexts) {
  const std::pair<const char*, int32_t> cases[] = {
      {"10", 10},         {"-5", -5},         {"0x10", 0}, {"4294967295", -1},
      {"4294967296", 0},  {"99999999999", 0}, {"1e2", 0},  {"-2147483648", INT32_MIN},
      {"-2147483649", 0}, {" 20", 20},
  };
  for (const auto& [text, value] : cases) {
    Profile p;
    p.Schritt = text;
    p.Start = text;
    const TNCFormat f = FormatOfProfile(p);
    EXPECT_EQ(f.Schritt, value) << text;
    EXPECT_EQ(f.Start, value) << text;
  }
}

TEST(FormatOfProfile, BlockPrefixLosesALastDigitOneToNine) {
  const std::pair<const char*, const char*> cases[] = {
      {"N5", "N"}, {"N0", "N0"}, {"N", "N"}, {"N10", "N10"}, {"N19", "N1"}, {"9", ""}, {"", ""},
  };
  for (const auto& [stored, active] : cases) {
    Profile p;
    p.Satzzeichen = stored;
    EXPECT_EQ(FormatOfProfile(p).Satzzeichen, active) << stored;
  }
}

Job JobWithProfiles() {
  Job job;
  for (int n = 1; n <= 4; ++n) {
    Profile& p = job.profiles[static_cast<size_t>(n - 1)];
    const std::string tag = std::to_string(n);
    p.Profil = "Profil " + tag;
    p.REbene = "R" + tag;
    p.ZEbene = "Z" + tag;
    p.VorschubZ = "FZ" + tag;
    p.VorschubXY = "FXY" + tag;
    p.templates[kSynE][19] = "M30 " + tag;
    p.Suffix = "nc" + tag;
    p.Satznum = n % 2 == 0;
    p.Dezipunkt = n == 2;
    p.NNullen = n == 3;
    p.Nachkommastellen = tag;
    p.Satzzeichen = "N" + tag;
    p.Start = "1" + tag;
  }
  return job;
}

TEST(ActivateProfile, CopiesTheProfileIntoTheActiveValues) {
  Job job = JobWithProfiles();
  ActivateProfile(job, 2);
  const Profile& p = job.profiles[1];
  EXPECT_EQ(job.active.number, 2);
  EXPECT_EQ(job.active.REbene, p.REbene);
  EXPECT_EQ(job.active.ZEbene, p.ZEbene);
  EXPECT_EQ(job.active.VorschubZ, p.VorschubZ);
  EXPECT_EQ(job.active.VorschubXY, p.VorschubXY);
  EXPECT_EQ(job.active.templates, p.templates);
  EXPECT_EQ(job.active.Suffix, p.Suffix);
  EXPECT_TRUE(job.active.Satznum);
  EXPECT_TRUE(job.active.format.Dezipunkt);
  EXPECT_FALSE(job.active.format.NNullen);
  EXPECT_EQ(job.active.format.Nachkommastellen, 2);
  EXPECT_EQ(job.active.format.Satzzeichen, "N");
  EXPECT_EQ(job.active.format.Start, 12);
}

TEST(ActivateProfile, ByKeyLastMatchWinsAndNoMatchChangesNothing) {
  struct Case {
    const char* key;
    int chosen;  // 0: no match
  };
  const Case cases[] = {{"Profil 1", 1}, {"4", 4}, {"1", 3}, {"Gleich", 4},
                        {"Fehlt", 0},    {"", 0},  {" 1", 0}};
  for (const auto& c : cases) {
    Job job = JobWithProfiles();
    job.profiles[2].Profil = "1";  // profile 3 is named like profile 1's number
    job.profiles[1].Profil = "Gleich";
    job.profiles[3].Profil = "Gleich";
    ActivateProfile(job, 1);
    job.active.REbene = "before";
    EXPECT_EQ(ActivateProfile(job, std::string_view(c.key)), c.chosen != 0) << c.key;
    if (c.chosen == 0) {
      EXPECT_EQ(job.active.REbene, "before") << c.key;
      EXPECT_EQ(job.active.number, 1) << c.key;
    } else {
      EXPECT_EQ(job.active.number, c.chosen) << c.key;
      EXPECT_EQ(job.active.REbene, job.profiles[static_cast<size_t>(c.chosen - 1)].REbene);
    }
  }
}

TEST(ActivateProfile, NumberOutsideOneToFourChangesNothing) {
  for (int number : {0, 5, -1}) {
    Job job = JobWithProfiles();
    ActivateProfile(job, 3);
    ActivateProfile(job, number);
    EXPECT_EQ(job.active.number, 3);
    EXPECT_EQ(job.active.REbene, "R3");
  }
}

}  // namespace
}  // namespace korvane
