// Runs the real vantor-route and checks what a script calling it would see:
// the bytes on standard output, the message on standard error, the status.

#include "JsonReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readWhole(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeWhole(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

// Alpha (Argons) has gates south to Gamma and east to Beta; both lead on to
// the target in column 1, row 1, whose name is in cp1252. The tie at Alpha
// goes south, through the Paranid Gamma. "-Rim-", a name in UTF-8 and one
// with characters that JSON escapes have no gates at all.
const std::string kTarget = "S\xFC"
                            "dtor \xC4ra";
const std::string kTargetUtf8 = "S\u00FCdtor \u00C4ra";
const std::string kUtf8Name = "Caf\u00E9 Nord";
const std::string kCore = "0,0,Alpha,4,0,0,1,1\r\n"
                          "1,0,Beta,6,0,1,1,0\r\n"
                          "0,1,Gamma,5,1,0,0,1\r\n"
                          "1,1," +
                          kTarget +
                          ",3,1,1,0,0\r\n"
                          "2,2,-Rim-,0,0,0,0,0\r\n"
                          "3,3," +
                          kUtf8Name +
                          ",0,0,0,0,0\r\n"
                          "4,4,Say \"hi\"\\\tthere,0,0,0,0,0\r\n";

class VantorRoute : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantor-route-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        core_ = dir_ / "core.vr";
        writeWhole(core_, kCore);
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // Runs the program with our core file in front of the given arguments.
    Outcome route(std::vector<std::string> arguments, const std::string& locale = "C.UTF-8") {
        arguments.insert(arguments.begin(), {"--core", core_.string()});
        return Run(VANTOR_ROUTE_BINARY, arguments, {}, locale);
    }

    Outcome Run(const fs::path& program, const std::vector<std::string>& arguments,
                const fs::path& standardOutput = {}, const std::string& locale = "C.UTF-8") {
        const fs::path out = standardOutput.empty() ? dir_ / "stdout" : standardOutput;
        const fs::path err = dir_ / "stderr";
        std::vector<std::string> words{program.string()};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        // Our environment, but the locale the case asks for.
        std::vector<std::string> variables{"LC_ALL=" + locale};
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string_view text(*variable);
            if (!text.starts_with("LC_") && !text.starts_with("LANG=")) {
                variables.emplace_back(text);
            }
        }
        std::vector<char*> envp;
        for (auto& variable : variables) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);

        pid_t child = 0;
        const int spawned =
            posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return outcome;
        }
        int status = 0;
        waitpid(child, &status, 0);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (standardOutput.empty()) {
            outcome.out = readWhole(out);
        }
        outcome.err = readWhole(err);
        return outcome;
    }

    fs::path dir_;
    fs::path core_;
};

TEST_F(VantorRoute, PrintsTheWayLineByLine) {
    const auto run = route({"Alpha", kTargetUtf8});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Alpha through south-gate to\n"
                       "Gamma through east-gate to\n" +
                           kTargetUtf8 + "\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(VantorRoute, ShortFormNamesOnlyTheGatesAndTheTarget) {
    const auto run = route({"--short", "Alpha", kTargetUtf8});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "south-gate\neast-gate\n" + kTargetUtf8 + "\n");
}

// The file's names are Windows-1252 or UTF-8; the terminal's are the
// locale's. The C locale's ASCII is taken as UTF-8; a locale that is not
// installed still names its encoding.
TEST_F(VantorRoute, NamesAreReadAndPrintedInTheLocalesEncoding) {
    const std::string latin1Target = kTarget;
    struct Case {
        std::string locale;
        std::string from, to;
        std::string out;
    };
    const Case cases[] = {
        {"C.UTF-8", "Gamma", kTargetUtf8, "Gamma through east-gate to\n" + kTargetUtf8 + "\n"},
        {"C", "Gamma", kTargetUtf8, "Gamma through east-gate to\n" + kTargetUtf8 + "\n"},
        {"xx_XX.ISO-8859-1", "Gamma", latin1Target,
         "Gamma through east-gate to\n" + latin1Target + "\n"},
        {"C.UTF-8", kUtf8Name, kUtf8Name, kUtf8Name + "\n"},
        {"xx_XX.ISO-8859-1@euro", "Caf\xE9 Nord", "Caf\xE9 Nord", "Caf\xE9 Nord\n"},
    };
    for (const Case& c : cases) {
        const auto run = route({c.from, c.to}, c.locale);
        EXPECT_EQ(run.status, 0) << c.locale << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.locale;
    }
    // The shipped universe keeps its names in Windows-1252.
    const auto shipped = Run(VANTOR_ROUTE_BINARY, {"Caf\u00E9 Meridian", "Warbrand"});
    EXPECT_EQ(shipped.status, 0) << shipped.err;
    EXPECT_TRUE(shipped.out.starts_with("Caf\u00E9 Meridian through ")) << shipped.out;
}

TEST_F(VantorRoute, LeastAvoidedPrintsTheWayThroughFewestAvoidedSystemsWhenNoneAvoidsThem) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out, err;
    };
    const std::string viaGamma = "Alpha through south-gate to\nGamma through east-gate to\n";
    const std::string viaBeta = "Alpha through east-gate to\nBeta through south-gate to\n";
    const Case cases[] = {
        // Both ways enter one avoided system in two jumps: south comes first.
        {{"--avoid", "Paranids,Xenon", "Alpha", kTargetUtf8},
         0,
         viaGamma + kTargetUtf8 + "\n",
         "enters 1 avoided system(s): Gamma\n"},
        {{"--avoid", "Split", "Alpha", kTargetUtf8},
         0,
         viaGamma + kTargetUtf8 + "\n",
         "enters 1 avoided system(s): " + kTargetUtf8 + "\n"},
        {{"--avoid", "Argons,Split,Paranids,Xenon", "--short", "Alpha", kTargetUtf8},
         0,
         "south-gate\neast-gate\n" + kTargetUtf8 + "\n",
         "enters 3 avoided system(s): Alpha, Gamma, " + kTargetUtf8 + "\n"},
        // A way that avoids the races is printed as without the option.
        {{"--avoid", "Paranids", "Alpha", kTargetUtf8}, 0, viaBeta + kTargetUtf8 + "\n", ""},
        {{"--", "Alpha", "-Rim-"},
         1,
         "",
         "vantor-route: Navigation Error: there is no way from Alpha to -Rim-\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"--least-avoided"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto run = route(arguments);
        EXPECT_EQ(run.status, c.status) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

TEST_F(VantorRoute, AvoidedRacesAreGoneRoundOrLeaveNoWay) {
    const auto round = route({"--avoid", "paranids", "Alpha", kTargetUtf8});
    EXPECT_EQ(round.status, 0);
    EXPECT_EQ(round.out, "Alpha through east-gate to\n"
                         "Beta through south-gate to\n" +
                             kTargetUtf8 + "\n");

    const auto blocked = route({"--avoid", "Paranids,Xenon", "Alpha", kTargetUtf8});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.out, "");
    EXPECT_NE(blocked.err.find("no way"), std::string::npos) << blocked.err;
    EXPECT_EQ(std::count(blocked.err.begin(), blocked.err.end(), '\n'), 1);
}

// The JSON is one line that reads back as the object expected; the exit
// status and standard error are those of the text form.
TEST_F(VantorRoute, JsonGivesTheWayAsOneObject) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string json;
        std::string err;
    };
    const std::string fromAlpha = R"({"from": "Alpha", "to": ")" + kTargetUtf8 + R"(", )";
    const std::string steps = R"("steps": [{"system": "Alpha", "gate": "south"},
        {"system": "Gamma", "gate": "east"}, {"system": ")" +
                              kTargetUtf8 + R"(", "gate": null}]})";
    const std::string oddName = "Say \"hi\"\\\tthere";
    const std::string oddNameJson = R"(Say \"hi\"\\\tthere)";
    const Case cases[] = {
        {{"Alpha", kTargetUtf8}, 0, fromAlpha + R"("jumps": 2, "avoided": [], )" + steps, ""},
        {{"--least-avoided", "--avoid", "Paranids,Xenon", "Alpha", kTargetUtf8},
         0,
         fromAlpha + R"("jumps": 2, "avoided": ["Gamma"], )" + steps,
         "enters 1 avoided system(s): Gamma\n"},
        {{"--avoid", "Paranids,Xenon", "Alpha", kTargetUtf8},
         1,
         fromAlpha + R"("way": null})",
         "vantor-route: Navigation Error: there is no way from Alpha to " + kTargetUtf8 +
             " that avoids the chosen races\n"},
        {{"--short", "--", oddName, oddName},
         0,
         R"({"from": ")" + oddNameJson + R"(", "to": ")" + oddNameJson +
             R"(", "jumps": 0, "avoided": [], "steps": [{"system": ")" + oddNameJson +
             R"(", "gate": null}]})",
         ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"--format", "json"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto run = route(arguments);
        SCOPED_TRACE(run.out);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, c.err);
        ASSERT_TRUE(run.out.ends_with("}\n"));
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
        const auto printed = JsonReader::read(run.out);
        ASSERT_TRUE(printed) << "not JSON";
        EXPECT_EQ(*printed, JsonReader::read(c.json).value());
    }
}

TEST_F(VantorRoute, NamesAfterDoubleDashMayBeginWithADash) {
    const auto same = route({"--", "-Rim-", "-Rim-"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "-Rim-\n");

    const auto cutOff = route({"--", "Alpha", "-Rim-"});
    EXPECT_EQ(cutOff.status, 1);
    EXPECT_EQ(cutOff.out, "");
}

TEST_F(VantorRoute, UnknownSystemsAreReportedStartFirst) {
    const std::string wrongFrom =
        "You have entered a wrong \"from-system\". Please correct your entry!";
    const std::string wrongTo =
        "You have entered a wrong \"to-system\". Please correct your entry!";

    const auto caseDiffers = route({"alpha", "Beta"});
    EXPECT_EQ(caseDiffers.status, 2);
    EXPECT_EQ(caseDiffers.out, "");
    EXPECT_NE(caseDiffers.err.find(wrongFrom), std::string::npos) << caseDiffers.err;

    const auto bothWrong = route({"Nowhere", "Elsewhere"});
    EXPECT_EQ(bothWrong.status, 2);
    EXPECT_NE(bothWrong.err.find(wrongFrom), std::string::npos);
    EXPECT_EQ(bothWrong.err.find(wrongTo), std::string::npos);

    const auto targetWrong = route({"Alpha", "Elsewhere"});
    EXPECT_EQ(targetWrong.status, 2);
    EXPECT_NE(targetWrong.err.find(wrongTo), std::string::npos) << targetWrong.err;

    // An empty name would otherwise match a cell the file leaves undefined.
    EXPECT_EQ(route({"", "Alpha"}).status, 2);
}

TEST_F(VantorRoute, AnUnreadableCoreFileIsReportedWithFileAndLine) {
    // A pipe or a folder is no file to read: reported at once, never waited on.
    ASSERT_EQ(mkfifo((dir_ / "pipe.vr").c_str(), 0600), 0);
    for (const char* name : {"none.vr", "pipe.vr", "."}) {
        const fs::path unreadable = fs::absolute(dir_ / name);
        const auto outcome = Run(VANTOR_ROUTE_BINARY, {"--core", unreadable.string(), "A", "B"});
        EXPECT_EQ(outcome.status, 3);
        EXPECT_EQ(outcome.err,
                  "vantor-route: Cannot open the core data file " + unreadable.string() + "\n");
    }

    writeWhole(core_, "0,0,Alpha,4,0,0,1,1\r\n0,x,Beta,6,0,1,1,0\r\n");
    const auto broken = route({"Alpha", "Alpha"});
    EXPECT_EQ(broken.status, 3);
    EXPECT_EQ(broken.out, "");
    EXPECT_NE(broken.err.find("line 2"), std::string::npos) << broken.err;
}

TEST_F(VantorRoute, BadUsageShowsTheUsageOnStandardError) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                      {"Alpha"},
                                                      {"--avoid", "Orks", "Alpha", "Beta"},
                                                      {"--bogus", "Alpha", "Beta"}}) {
        const auto run = Run(VANTOR_ROUTE_BINARY, arguments);
        EXPECT_EQ(run.status, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage: vantor-route"), std::string::npos) << run.err;
    }
    const auto help = Run(VANTOR_ROUTE_BINARY, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: vantor-route", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    for (const char* option : {"--core", "--short", "--avoid", "--least-avoided", "--format"}) {
        EXPECT_NE(help.out.find(std::string("\n  ") + option + " "), std::string::npos) << option;
    }
}

TEST_F(VantorRoute, TheDefaultCoreFileLiesBesideTheProgram) {
    // A copy of the program in our folder reads our core.vr, wherever it is
    // started from; the test itself runs in the build's program folder.
    const fs::path copy = dir_ / "vantor-route";
    fs::copy_file(VANTOR_ROUTE_BINARY, copy);
    fs::permissions(copy, fs::perms::owner_all);
    const auto run = Run(copy, {"Gamma", kTargetUtf8});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Gamma through east-gate to\n" + kTargetUtf8 + "\n");
}

TEST_F(VantorRoute, AFailedWriteIsNotReportedAsSuccess) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    const auto run =
        Run(VANTOR_ROUTE_BINARY, {"--core", core_.string(), "Alpha", kTargetUtf8}, "/dev/full");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

} // namespace
