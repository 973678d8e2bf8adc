// A writer killed at random moments: every row whose post had returned is still there, and the
// file always opens. The writer is a forked child that reports each posted ID through a pipe.
#include "data/o_DatabaseConnection.h"
#include "fakes/TempFolder.h"
#include "shell/Provisioning.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <random>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string TemplateBytes(const TempFolder& Folder) {
    const std::string Name = Folder.File("template.ipdb");
    CreateEmptyDatabase(Name);
    return ReadWholeFile(Name);
}

// Provisions the file when missing, then posts rows until killed.
[[noreturn]] void Writer(const std::string& FileName, const std::string& Template, int Report) {
    try {
        ProvisionFile(FileName, Template);
        TgtIPDBManager Manager(nullptr);
        Manager.OpenDatabase(FileName);
        TDataSet& Sets = *Manager.IPSets();
        for (int Row = 0;; ++Row) {
            Sets.Insert();
            Sets.FieldByName("IPSET_NAME").SetAsString("fila " + std::to_string(Row));
            Sets.FieldByName("IPADDRESS").SetAsString("192.168.1." + std::to_string(Row % 250));
            Sets.Post();
            const std::int32_t ID = Sets.FieldByName("ID").AsInteger();
            if (write(Report, &ID, sizeof ID) != sizeof ID)
                _exit(3);
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "writer: %s\n", E.what());
        _exit(2);
    }
}

// Reads Count reported IDs, or all of them up to the writer's end when Count is -1.
std::vector<std::int32_t> ReadReported(int Fd, int Count) {
    std::vector<std::int32_t> IDs;
    std::int32_t ID;
    while (Count-- != 0 && read(Fd, &ID, sizeof ID) == sizeof ID)
        IDs.push_back(ID);
    return IDs;
}

TEST(Durability, WriterKilledAtRandomMoments_LosesNoPostedRowAndLeavesAnOpenableFile) {
    TempFolder Folder;
    const std::string Template = TemplateBytes(Folder);
    const std::string FileName = Folder.File("quelvano.ipdb");
    const unsigned Seed = std::random_device{}();
    std::mt19937 Random(Seed);
    SCOPED_TRACE("seed " + std::to_string(Seed));

    std::vector<std::int32_t> Posted;
    int RoundsThatPosted = 0;
    for (int Round = 0; Round < 300; ++Round) {
        // Now and then start from nothing, so that some kills land in the provisioning.
        if (Round % 50 == 0) {
            std::remove(FileName.c_str());
            Posted.clear();
        }
        int Pipe[2];
        ASSERT_EQ(pipe(Pipe), 0);
        const pid_t Child = fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            close(Pipe[0]);
            Writer(FileName, Template, Pipe[1]);
        }
        close(Pipe[1]);
        // The moment: after a few posts have returned (none, for kills during the start), plus
        // a random part of the time one post takes.
        const int Wait = std::uniform_int_distribution<int>(0, 3)(Random);
        std::vector<std::int32_t> Reported = ReadReported(Pipe[0], Wait);
        usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(Random));
        kill(Child, SIGKILL);
        int Status = 0;
        waitpid(Child, &Status, 0);
        ASSERT_TRUE(WIFSIGNALED(Status))
            << "the writer stopped by itself, code " << WEXITSTATUS(Status);
        const std::vector<std::int32_t> Rest = ReadReported(Pipe[0], -1);
        Reported.insert(Reported.end(), Rest.begin(), Rest.end());
        close(Pipe[0]);
        Posted.insert(Posted.end(), Reported.begin(), Reported.end());
        RoundsThatPosted += !Reported.empty();

        if (Posted.empty() && ReadWholeFile(FileName).empty())
            continue; // killed before anything was written: nothing to check yet
        TgtIPDBManager Manager(nullptr);
        ASSERT_NO_THROW(Manager.OpenDatabase(FileName)) << "round " << Round;
        for (const std::int32_t ID : Posted)
            ASSERT_TRUE(Manager.IPSets()->Locate("ID", ID)) << "round " << Round << ", ID " << ID;
    }
    // The kills must have landed among the posts, not only before the first one.
    EXPECT_GT(RoundsThatPosted, 100);
}

} // namespace
