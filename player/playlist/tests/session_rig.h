// The playlist window's session in native tests: the grid's own message
// handlers, files in memory, and a player and a window that record what
// the session asks of them.
#ifndef ZUB_PLAYLIST_TESTS_SESSION_RIG_H
#define ZUB_PLAYLIST_TESTS_SESSION_RIG_H

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "grid_rig.h"
#include "grid_setup.h"
#include "playlist_rig.h"
#include "playlist_session.h"

namespace pltest {

using namespace playlist;

class FakePlayer : public PlayerLink {
public:
    SequencerState State() override { return state; }
    bool Option(PlayerOption o) override { return options[o]; }
    std::string CurrentSongPath() override { return song; }
    void SetSong(const std::string& path, const std::string& voiceMap) override
    {
        song = path;
        map = voiceMap;
        loaded.push_back(path);
    }
    void SetUserStop() override { commands.push_back(-1); }
    void Command(int id) override { commands.push_back(id); }
    void Wait(uint32_t ms) override { waited += ms; }

    SequencerState state = SequencerState::NoFile;
    std::map<PlayerOption, bool> options;
    std::string song, map;
    std::vector<std::string> loaded;
    std::vector<int> commands;  // -1: the user-stop flag set
    uint32_t waited = 0;
};

class FakeView : public PlaylistView {
public:
    void SetStatus(int part, const std::string& text) override { status[part] = text; }
    void StartAnimation() override { animating = true; }
    void StopAnimation() override { animating = false; }
    void ShowArrows(bool shown) override { arrows = shown; }
    void ShowError(const std::string& text) override { errors.push_back(text); }

    std::map<int, std::string> status;
    bool animating = false;
    bool arrows = true;
    std::vector<std::string> errors;
};

class SessionTest : public ::testing::Test {
protected:
    pltest::NativeGrid port;
    PlaylistGrid grid{port, *TsVListManager()};
    pltest::Rig files;
    FakePlayer player;
    FakeView view;
    PlaylistSession session{grid, files.files, &files.probe, player, view};

    void SetUp() override
    {
        SetUpPlaylistGrid(grid);
        player.options[PlayerOption::AutoPlay] = true;
    }

    // Songs C:\A\a1.mid ... as "A:a1,a2 B:b1" lists them; a name starting
    // with "!" is a missing file.
    void Build(const std::vector<std::pair<std::string, std::vector<std::string>>>& folders)
    {
        for (const auto& f : folders) {
            for (const std::string& s : f.second) {
                const bool missing = s[0] == '!';
                const std::string name = (missing ? s.substr(1) : s) + ".mid";
                if (!missing)
                    files.files.Add("C:\\" + f.first + "\\" + name, pltest::MidiSong(s, 100));
                session.AddFile("C:\\" + f.first + "\\" + name);
            }
        }
    }
    std::string NameAt(int row) { return session.Rows().Read(row).Name(); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> out;
        for (int i = 0; i < session.Rows().Count(); ++i)
            out.push_back(NameAt(i));
        return out;
    }
    void Select(int row) { grid.Row(row).MakeCurrent(); }
    // A "Pianodir.fil" disk in C:\D with ESEQ songs s1.fil, s2.fil, ...
    void AddDisk(int songs)
    {
        eseqtest::PianodirSpec spec;
        spec.diskTitle = "Disk Title";
        for (int i = 1; i <= songs; ++i) {
            const std::string name = "s" + std::to_string(i);
            files.files.Add("C:\\D\\" + name + ".fil", pltest::EseqSong("Song " + name));
            eseqtest::PianodirRecord record;
            record.name = name;
            record.ext = "fil";
            record.title = "Song " + name;
            spec.records.push_back(record);
        }
        files.files.Add("C:\\D\\Pianodir.fil", eseqtest::BuildPianodir(spec));
        session.LoadCatalog("C:\\D\\Pianodir.fil");
    }
    std::string LoadedName()
    {
        return player.loaded.empty() ? "" : player.loaded.back().substr(player.loaded.back().rfind('\\') + 1);
    }
    // The player opened and plays the song.
    void Playing(const std::string& path)
    {
        player.song = path;
        player.state = SequencerState::Opened;
        session.FollowState();
        player.state = SequencerState::Playing;
        session.FollowState();
    }
    // The user edits the title cell of `row` to `text`, ending with accept
    // or cancel.
    bool EditTitle(int row, const std::string& text, bool accept)
    {
        grid.Cell(row, ColTitle).MakeCurrent();
        if (!session.BeginTitleEdit())
            return false;
        ValueList value(grid.Lists(), 1);
        value.Set(0, text);
        grid.Send(TSM_SETPROP, static_cast<uint32_t>(prop::kEditText) << 16, value.get());
        grid.Send(TSM_ENDEDIT, 0, accept ? 1 : 0);
        session.EndTitleEdit();
        return true;
    }
    std::string Colour(int row) { return session.Rows().Read(row).titleColour; }
};

}  // namespace pltest

#endif
