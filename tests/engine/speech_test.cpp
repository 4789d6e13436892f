#include <gtest/gtest.h>

#include "support/engine_rig.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

using test::EngineRig;

TEST(Speech, EmptyTextDoesNothing) {
  EngineRig rig;
  EXPECT_EQ(rig.engine->Speech(0, U""), 0);
  EXPECT_EQ(rig.waits, 0);
  EXPECT_FALSE(rig.engine->IsTalk());
  EXPECT_TRUE(rig.device->Pieces().empty());
}

TEST(Speech, PhoneticTextIsCutIntoSentencesWithTheirDelays) {
  EngineRig rig(1600);  // every piece plays 100 ms
  rig.engine->CONV(false);
  uint64_t start = rig.clock.NowMs();
  ASSERT_EQ(rig.engine->Speech(0, U"あ、い。う"), 0);
  ASSERT_EQ(rig.device->Pieces().size(), 3u);
  EXPECT_EQ(rig.PieceText(0), U"あ、");
  EXPECT_EQ(rig.PieceText(1), U"い。");
  EXPECT_EQ(rig.PieceText(2), U"う。");
  // Playback is polled every 50 ms: 100 ms of sound, then the pause after the mark.
  EXPECT_EQ(rig.PieceStart(0), start);
  EXPECT_EQ(rig.PieceStart(1) - rig.PieceStart(0), 100u + 150u);
  EXPECT_EQ(rig.PieceStart(2) - rig.PieceStart(1), 100u + 300u);
  EXPECT_EQ(rig.clock.NowMs() - rig.PieceStart(2), 100u + 300u);
  EXPECT_FALSE(rig.engine->IsTalk());

  // The ASCII comma does not end a sentence; a final "。" is added; other endings wait 50 ms.
  EngineRig comma(1600);
  comma.engine->CONV(false);
  ASSERT_EQ(comma.engine->Speech(0, U"こんにちは"), 0);
  ASSERT_EQ(comma.device->Pieces().size(), 1u);
  EXPECT_EQ(comma.PieceText(0), U"こんにちは。");
  ASSERT_EQ(comma.engine->Speech(0, U"あ,い"), 0);
  EXPECT_EQ(comma.PieceText(1), U"あ,い。");
}

TEST(Speech, PrepareTextTurnsSpacesIntoSentenceEndsOnlyWhenConverting) {
  EngineRig rig;
  rig.engine->CONV(true);
  EXPECT_EQ(rig.engine->PrepareText(U"あ　　い"), U"あ。い。");
  EXPECT_EQ(rig.engine->PrepareText(U"あ・・い。"), U"あ。い。");
  EXPECT_EQ(rig.engine->PrepareText(U"あ\r\nい"), U"あ。い。");
  rig.engine->CONV(false);
  EXPECT_EQ(rig.engine->PrepareText(U"あ　　い"), U"あ　　い。");
  EXPECT_EQ(rig.engine->PrepareText(U"あ\r\nい。"), U"あ。い。");
}

TEST(Speech, ChunksHoldAtMostHundredCharactersBeforeTheirMark) {
  auto chunks = [](size_t length, char32_t mark) {
    std::vector<std::u32string> out;
    clsMAIN::AddChunks(std::u32string(length, U'あ'), mark, out);
    return out;
  };
  EXPECT_EQ(chunks(49, U'、').size(), 1u);
  auto sixty = chunks(60, U'、');
  ASSERT_EQ(sixty.size(), 2u);
  EXPECT_EQ(sixty[0].size(), 61u);
  EXPECT_EQ(sixty[1], U"、");
  EXPECT_EQ(chunks(149, U'。').size(), 2u);
  auto hundredFifty = chunks(150, U'。');
  ASSERT_EQ(hundredFifty.size(), 2u);
  EXPECT_EQ(hundredFifty[1].size(), 51u);
  auto hundredFiftyOne = chunks(151, U'。');
  ASSERT_EQ(hundredFiftyOne.size(), 3u);
  EXPECT_EQ(hundredFiftyOne[2], U"。");
  EXPECT_EQ(chunks(0, U',').size(), 1u);

  auto sentences = clsMAIN::CutSentences(U"あ、い。う？え");
  ASSERT_EQ(sentences.size(), 4u);
  EXPECT_EQ(sentences[2], U"う？");
}

TEST(Speech, CancelStopsWithinOnePass) {
  EngineRig rig(16000);  // one second per piece
  rig.engine->CONV(false);
  uint64_t cancelAt = 0;
  rig.engine->Wait = [&] {
    if (rig.clock.NowMs() >= rig.PieceStart(0) + 200 && cancelAt == 0) {
      cancelAt = rig.clock.NowMs();
      rig.engine->CANCEL();
    }
  };
  EXPECT_EQ(rig.engine->Speech(0, U"あ。い。う。"), 0);
  EXPECT_EQ(rig.device->Pieces().size(), 1u);
  EXPECT_LE(rig.clock.NowMs() - cancelAt, 50u);
  EXPECT_FALSE(rig.engine->IsTalk());
  EXPECT_LE(rig.device->PlayedMs(), 250u);  // the sound stopped at once

  // Cancelled during the delay after a sentence: the delay runs out, nothing more is played.
  EngineRig late(1600);
  late.engine->CONV(false);
  late.engine->Wait = [&] {
    if (late.clock.NowMs() >= late.PieceStart(0) + 200 && late.engine->IsTalk())
      late.engine->CANCEL();
  };
  EXPECT_EQ(late.engine->Speech(0, U"あ。い。"), 0);
  EXPECT_EQ(late.device->Pieces().size(), 1u);
  EXPECT_EQ(late.clock.NowMs() - late.PieceStart(0), 100u + 300u);
}

TEST(Speech, PauseBeforeSpeakingHoldsTheFirstPieceUntilRestart) {
  EngineRig rig(1600);
  rig.engine->CONV(false);
  rig.engine->PAUSE();
  uint64_t start = rig.clock.NowMs();
  rig.engine->Wait = [&] {
    if (rig.clock.NowMs() >= start + 2000 && rig.engine->IsPaused()) {
      EXPECT_EQ(rig.device->PlayedMs(), 0u);  // nothing heard while paused
      rig.engine->RESTART();
    }
  };
  EXPECT_EQ(rig.engine->Speech(0, U"あ。"), 0);
  EXPECT_GE(rig.clock.NowMs() - start, 2000u + 100u + 300u);
  EXPECT_EQ(rig.device->PlayedMs(), 100u);
}

TEST(Speech, FailuresEndTheRunWithTheirCode) {
  EngineRig noDevice(1600, true);
  noDevice.engine->CONV(false);
  EXPECT_EQ(noDevice.engine->Speech(0, U"あ。い。"), 101);
  EXPECT_FALSE(noDevice.engine->IsTalk());

  EngineRig rig(1600);
  rig.engine->CONV(false);
  rig.voices->failOn.push_back(ToCp932(U"い。"));
  EXPECT_EQ(rig.engine->Speech(0, U"あ。い。う。"), 301);
  EXPECT_EQ(rig.device->Pieces().size(), 1u);
  EXPECT_EQ(rig.engine->LastError(), "fake failure");
  EXPECT_FALSE(rig.engine->IsTalk());
}

TEST(Speech, NestedSpeechIsRefused) {
  EngineRig rig(1600);
  rig.engine->CONV(false);
  int nested = -1;
  rig.engine->Wait = [&] {
    if (nested == -1) nested = rig.engine->Speech(0, U"ん。");
  };
  EXPECT_EQ(rig.engine->Speech(0, U"あ。"), 0);
  EXPECT_EQ(nested, 0);
  ASSERT_EQ(rig.device->Pieces().size(), 1u);
  EXPECT_EQ(rig.PieceText(0), U"あ。");
}

TEST(Speech, RecordingThroughTheEngine) {
  EngineRig rig(1000);
  rig.engine->CONV(false);
  std::string path = testing::TempDir() + "engine-record.wav";
  rig.engine->PATH(path);
  rig.engine->RECORD(true);
  ASSERT_EQ(rig.engine->Speech(0, U"あ、い"), 0);
  ASSERT_TRUE(rig.engine->SAVE());
  Bytes file;
  ASSERT_TRUE(ReadBytes(path, file));
  EXPECT_EQ(file.size(), 44u + 1000 + 4800 + 1000 + 6400);
  DeleteFile(path);
  rig.engine->PATH("/nonexistent-folder/x.wav");
  rig.engine->RECORD(true);
  ASSERT_EQ(rig.engine->Speech(0, U"あ"), 0);
  EXPECT_FALSE(rig.engine->SAVE());
}

}  // namespace
}  // namespace kotonel
