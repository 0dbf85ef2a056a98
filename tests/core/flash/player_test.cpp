// The frame clock, the play state, gotos by frame and label, the frame
// actions, sprite timelines and changes of the display list.
#include "flash_test_movies.h"

#include "flash/player.h"

#include <gtest/gtest.h>

namespace {

using flash::Action;
using flash::ActionKind;
using flash::Player;
using flash_test::DefineBox;
using flash_test::Load;
using flash_test::MoveTo;
using flash_test::NewAt;

Action Act(ActionKind kind, int frame = 0, const char* label = "") { return Action{kind, frame, label}; }

// Frame f shows the box at x = f.
flash::SwfWriter CountingMovie(int frames) {
    flash::SwfWriter movie(6, 100, 100, 10);
    DefineBox(movie, 1, 0, 0, 5, 5, {255, 0, 0, 255});
    for (int f = 0; f < frames; ++f) {
        movie.PlaceObject(f == 0 ? NewAt(1, 1, 0, 0) : MoveTo(1, f, 0));
        if (f == 3) movie.FrameLabel("four");
        movie.ShowFrame();
    }
    return movie;
}

double BoxX(const Player& player, int depth = 1) {
    auto it = player.Root()->children.find(depth);
    return it == player.Root()->children.end() ? -1 : it->second.matrix.tx / 20;
}

TEST(Player, CountsFramesAndLoopsAtTheEnd) {
    Player player;
    EXPECT_EQ(player.TotalFrames(), 0);
    player.Load(Load(CountingMovie(5)));
    EXPECT_EQ(player.TotalFrames(), 5);
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_TRUE(player.IsPlaying());
    for (int f = 1; f < 5; ++f) {
        player.Advance();
        EXPECT_EQ(player.CurrentFrame(), f);
        EXPECT_EQ(BoxX(player), f);
    }
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_EQ(BoxX(player), 0);
}

TEST(Player, ClockRunsAtTheMovieRate) {
    Player player;
    player.Load(Load(CountingMovie(50)));  // 10 frames per second
    EXPECT_EQ(player.AdvanceTime(99), 0);
    EXPECT_EQ(player.AdvanceTime(1), 1);
    EXPECT_EQ(player.AdvanceTime(250), 2);
    EXPECT_EQ(player.CurrentFrame(), 3);
    // A long pause does not make the movie race to catch up.
    EXPECT_LE(player.AdvanceTime(60000), 4);
}

TEST(Player, StopPlayAndGotoKeepThePlayState) {
    Player player;
    player.Load(Load(CountingMovie(10)));
    player.Stop();
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_FALSE(player.IsPlaying());
    player.GotoFrame(6);
    EXPECT_EQ(player.CurrentFrame(), 6);
    EXPECT_EQ(BoxX(player), 6);
    EXPECT_FALSE(player.IsPlaying());
    player.Play();
    player.GotoFrame(2);  // backwards: the frame is rebuilt from the start
    EXPECT_EQ(BoxX(player), 2);
    EXPECT_TRUE(player.IsPlaying());
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 3);
    EXPECT_TRUE(player.GotoLabel("four"));
    EXPECT_EQ(player.CurrentFrame(), 3);
    EXPECT_FALSE(player.GotoLabel("five"));
    player.GotoFrame(99);
    EXPECT_EQ(player.CurrentFrame(), 9);
    player.GotoFrame(-5);
    EXPECT_EQ(player.CurrentFrame(), 0);
}

TEST(Player, FrameActionsStopPlayAndGo) {
    flash::SwfWriter movie(6, 100, 100, 10);
    movie.ShowFrame();                                        // 0
    movie.DoAction({Act(ActionKind::Stop)});               // 1 stops
    movie.ShowFrame();
    movie.FrameLabel("end");                                  // 2
    movie.DoAction({Act(ActionKind::GotoFrame, 0), Act(ActionKind::Play)});
    movie.ShowFrame();
    movie.DoAction({Act(ActionKind::GotoLabel, 0, "end")});  // 3
    movie.ShowFrame();
    movie.DoAction({Act(ActionKind::PreviousFrame)});      // 4
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 1);
    EXPECT_FALSE(player.IsPlaying());
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 1);

    player.Play();
    player.Advance();  // frame 2 goes back to 0 and plays on
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_TRUE(player.IsPlaying());

    player.GotoFrame(3);  // its action goes to "end", whose action goes to 0
    EXPECT_EQ(player.CurrentFrame(), 0);
    player.GotoFrame(4);  // previous frame: 3, then "end", then 0
    EXPECT_EQ(player.CurrentFrame(), 0);
}

TEST(Player, GotosThatCallEachOtherForeverAreCutOff) {
    flash::SwfWriter movie(6, 100, 100, 10);
    movie.DoAction({Act(ActionKind::GotoFrame, 1)});
    movie.ShowFrame();
    movie.DoAction({Act(ActionKind::GotoFrame, 0)});
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    player.Advance();
    SUCCEED();
}

TEST(Player, RemoveAndReplaceOnADepth) {
    flash::SwfWriter movie(6, 100, 100, 10);
    DefineBox(movie, 1, 0, 0, 5, 5, {255, 0, 0, 255});
    DefineBox(movie, 2, 0, 0, 5, 5, {0, 255, 0, 255});
    movie.PlaceObject(NewAt(1, 1, 7, 0));
    movie.PlaceObject(NewAt(2, 2));
    movie.ShowFrame();
    flash::PlaceArgs replace;
    replace.depth = 1;
    replace.character = 2;
    replace.move = true;  // new character, position kept
    movie.PlaceObject(replace);
    movie.RemoveObject(2);
    movie.ShowFrame();
    movie.PlaceObject(NewAt(1, 1, 3, 0));  // placing over a depth replaces it
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    EXPECT_EQ(player.Root()->children.size(), 2u);
    player.Advance();
    ASSERT_EQ(player.Root()->children.size(), 1u);
    EXPECT_EQ(player.Root()->children.at(1).character, 2);
    EXPECT_EQ(BoxX(player), 7);
    player.Advance();
    EXPECT_EQ(player.Root()->children.at(1).character, 1);
    EXPECT_EQ(BoxX(player), 3);
    player.GotoFrame(0);
    EXPECT_EQ(player.Root()->children.size(), 2u);
    EXPECT_EQ(player.Root()->children.at(1).character, 1);
    EXPECT_EQ(BoxX(player), 7);
}

// A sprite of three frames (box at x 0, 10, 20) that stops on its last.
void DefineSliding(flash::SwfWriter& movie) {
    DefineBox(movie, 1, 0, 0, 5, 5, {255, 0, 0, 255});
    flash::TagList sprite;
    for (int f = 0; f < 3; ++f) {
        sprite.PlaceObject(f == 0 ? NewAt(1, 1) : MoveTo(1, 10 * f, 0));
        if (f == 2) sprite.DoAction({Act(ActionKind::Stop)});
        sprite.ShowFrame();
    }
    movie.DefineSprite(5, sprite);
}

TEST(Player, SpritesPlayTheirOwnTimeline) {
    flash::SwfWriter movie(6, 100, 100, 10);
    DefineSliding(movie);
    movie.PlaceObject(NewAt(1, 5));
    movie.DoAction({Act(ActionKind::Stop)});  // the main timeline stops at once
    movie.ShowFrame();
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    const flash::Clip& sprite = *player.Root()->children.at(1).clip;
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(sprite.frame, 0);
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_EQ(sprite.frame, 1);
    EXPECT_EQ(sprite.children.at(1).matrix.tx, 200);
    player.Advance();
    player.Advance();
    EXPECT_EQ(sprite.frame, 2);
    EXPECT_FALSE(sprite.playing);
}

TEST(Player, SpriteKeptOverALoopOfTheMainTimeline) {
    flash::SwfWriter movie(6, 100, 100, 10);
    DefineSliding(movie);
    movie.PlaceObject(NewAt(1, 5));
    movie.ShowFrame();
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    const flash::Clip* sprite = player.Root()->children.at(1).clip;
    player.Advance();
    player.Advance();  // main timeline back at frame 0
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_EQ(player.Root()->children.at(1).clip, sprite);
    EXPECT_EQ(sprite->frame, 2);
}

TEST(Player, TargetedActionsActOnTheNamedSprite) {
    flash::SwfWriter movie(5, 100, 100, 10);
    DefineSliding(movie);
    // A sprite that sends its parent's other sprite on and stops the main timeline.
    flash::TagList remote;
    remote.DoAction({Act(ActionKind::SetTarget, 0, "../mover"), Act(ActionKind::GotoFrame, 2),
                     Act(ActionKind::SetTarget, 0, "/"), Act(ActionKind::Stop),
                     Act(ActionKind::SetTarget, 0, "/missing"), Act(ActionKind::Play)});
    remote.ShowFrame();
    movie.DefineSprite(6, remote);
    flash::PlaceArgs mover = NewAt(1, 5);
    mover.name = "Mover";
    movie.PlaceObject(mover);
    movie.ShowFrame();
    movie.PlaceObject(NewAt(2, 6));
    movie.ShowFrame();
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    const flash::Clip& sprite = *player.Root()->children.at(1).clip;
    player.Advance();
    EXPECT_EQ(sprite.frame, 2);
    EXPECT_FALSE(sprite.playing);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.CurrentFrame(), 1);
}

TEST(Player, SpriteThatPlacesItselfIsNotNestedForever) {
    flash::SwfWriter movie(6, 100, 100, 10);
    flash::TagList sprite;
    sprite.PlaceObject(NewAt(1, 5));
    sprite.PlaceObject(NewAt(2, 6));
    sprite.ShowFrame();
    movie.DefineSprite(5, sprite);
    flash::TagList other;
    other.PlaceObject(NewAt(1, 5));
    other.ShowFrame();
    movie.DefineSprite(6, other);
    movie.PlaceObject(NewAt(1, 5));
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    player.Advance();
    const flash::Clip& outer = *player.Root()->children.at(1).clip;
    EXPECT_EQ(outer.children.at(1).clip, nullptr);
    const flash::Clip& inner = *outer.children.at(2).clip;
    EXPECT_EQ(inner.children.at(1).clip, nullptr);
}

}  // namespace
