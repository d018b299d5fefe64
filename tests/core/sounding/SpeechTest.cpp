// Voices of the two engines by name, the settings' overrides, and speech released when finished.
#include "fakes/FakeSpeechEngine.h"
#include "fakes/ManualClock.h"
#include "settings/SettingsStore.h"
#include "sounding/modSpeech.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

using test::FakeSpeechEngine;

TEST(SpeechTest, VoicesAreListedAndChosenByNameCurrentEngineFirst) {
    FakeSpeechEngine current({"Alice", "Bob"});
    FakeSpeechEngine older({"en", "de"});
    clsVoices voices(&current, &older);
    EXPECT_EQ(voices.getVoices(), (std::vector<std::string>{"Alice", "Bob", "(1) en", "(2) de"}));

    EXPECT_TRUE(voices.speak("one", "", false, 0, false, 0)); // empty name: the first voice
    EXPECT_TRUE(voices.speak("two", "Bob", false, 0, false, 0));
    EXPECT_TRUE(voices.speak("three", "(2) de", false, 0, false, 0));
    ASSERT_EQ(current.spoken.size(), 2u);
    EXPECT_EQ(current.spoken[0].voice, 0);
    EXPECT_EQ(current.spoken[1].voice, 1);
    ASSERT_EQ(older.spoken.size(), 1u);
    EXPECT_EQ(older.spoken[0].text, "three");
    EXPECT_EQ(older.spoken[0].voice, 1);
    EXPECT_EQ(voices.lastEngine(), clsVoices::Engine::Older);

    // A name neither engine has: nothing is spoken.
    EXPECT_FALSE(voices.speak("four", "Zoe", false, 0, false, 0));
    EXPECT_FALSE(voices.speak("four", "de", false, 0, false, 0));
    EXPECT_EQ(current.spoken.size() + older.spoken.size(), 3u);

    // Without the current engine the older one's first voice takes an empty name.
    clsVoices olderOnly(nullptr, &older);
    EXPECT_TRUE(olderOnly.speak("five", "", false, 0, false, 0));
    EXPECT_EQ(older.spoken.back().voice, 0);
    EXPECT_FALSE(clsVoices(nullptr, nullptr).speak("six", "", false, 0, false, 0));
}

TEST(SpeechTest, VolumeAndSpeedApplyOnlyWhenOverriddenAndInRange) {
    FakeSpeechEngine current({"Alice"});
    clsVoices voices(&current, nullptr);
    voices.speak("a", "", true, 40, true, -3);
    voices.speak("b", "", false, 40, false, -3);
    voices.speak("c", "", true, 101, true, 11);
    voices.speak("d", "", true, 0, true, -10);
    voices.speak("e", "", true, -1, true, -11);
    ASSERT_EQ(current.spoken.size(), 5u);
    EXPECT_EQ(current.spoken[0].volume, 40);
    EXPECT_EQ(current.spoken[0].rate, -3);
    for (int i : {1, 2, 4}) {
        EXPECT_EQ(current.spoken[i].volume, std::nullopt) << i;
        EXPECT_EQ(current.spoken[i].rate, std::nullopt) << i;
    }
    EXPECT_EQ(current.spoken[3].volume, 0);
    EXPECT_EQ(current.spoken[3].rate, -10);
}

TEST(SpeechTest, SpeechUsesTheSettingsAndIsReleasedOnceTheEngineIsDone) {
    FakeSpeechEngine current({"Alice", "Bob"});
    FakeSpeechEngine older({"en"});
    SettingsStore settings;
    settings.voice = "(1) en";
    settings.overrideVoiceSpeed = true;
    settings.voiceSpeed = 5;
    test::ManualClock clock(Date::fromParts(2026, 3, 7, 9, 41, 0));
    modSpeech speech(&current, &older, settings, clock);

    EXPECT_TRUE(speech.tellTime("now \"It is <h:nn>.\""));
    ASSERT_EQ(older.spoken.size(), 1u);
    EXPECT_EQ(older.spoken[0].text, "It is 9:41.");
    EXPECT_EQ(older.spoken[0].rate, 5);
    EXPECT_TRUE(speech.speaking());

    speech.releaseFinishedSpeech(); // still speaking: kept
    EXPECT_TRUE(speech.speaking());
    EXPECT_EQ(older.stops, 0);
    older.busy = false;
    speech.releaseFinishedSpeech();
    EXPECT_FALSE(speech.speaking());
    EXPECT_EQ(older.stops, 1); // the older engine is let go

    EXPECT_TRUE(speech.speak("Hello", "Bob"));
    speech.stopSpeech();
    EXPECT_FALSE(current.busy);
    EXPECT_FALSE(speech.tellTime("sin \"<d>\" \"not a date\""));
    EXPECT_EQ(current.spoken.size(), 1u);
}

TEST(SpeechTest, TextsWaitTheirTurnInOrderAndTakeTheSettingsOfTheirTurn) {
    FakeSpeechEngine current({"Alice"});
    FakeSpeechEngine older({"en"});
    SettingsStore settings;
    test::ManualClock clock(Date::fromParts(2026, 3, 7, 9, 41, 0));
    modSpeech speech(&current, &older, settings, clock);
    int calls = 0;
    speech.textWaiting = [&calls] { ++calls; };

    // "Show and speak" and "tell the time" of one alarm, then a second alarm in the same second.
    EXPECT_TRUE(speech.speak("Tea is ready"));
    EXPECT_TRUE(speech.tellTime("now \"It is <h:nn>.\""));
    EXPECT_TRUE(speech.speak("Bins", "(1) en")); // the other engine waits as well
    EXPECT_EQ(current.spoken.size(), 1u);        // nothing was cut off
    EXPECT_EQ(current.stops, 0);
    EXPECT_EQ(speech.waiting(), 2u);
    EXPECT_EQ(calls, 2);

    settings.overrideVoiceVolume = true; // changed meanwhile: the next text is spoken with it
    settings.voiceVolume = 30;
    speech.releaseFinishedSpeech(); // still speaking: no one else starts
    EXPECT_EQ(current.spoken.size(), 1u);
    current.busy = false;
    speech.releaseFinishedSpeech();
    ASSERT_EQ(current.spoken.size(), 2u);
    EXPECT_EQ(current.spoken[1].text, "It is 9:41.");
    EXPECT_EQ(current.spoken[1].volume, 30);
    EXPECT_TRUE(older.spoken.empty());
    current.busy = false;
    speech.releaseFinishedSpeech();
    ASSERT_EQ(older.spoken.size(), 1u);
    EXPECT_EQ(older.spoken[0].text, "Bins");
    EXPECT_EQ(speech.waiting(), 0u);

    // Stopping all sounds silences the waiting texts too; a text no engine takes lets the next one speak.
    speech.speak("one");
    speech.speak("two");
    speech.stopSpeech();
    EXPECT_EQ(speech.waiting(), 0u);
    older.busy = false;
    speech.speak("three");
    speech.speak("nobody", "Zoe");
    speech.speak("four");
    current.busy = false;
    speech.releaseFinishedSpeech();
    EXPECT_EQ(current.spoken.back().text, "four");
}

TEST(SpeechTest, TextsWaitWhileTheEnginesLearnTheirVoicesWhichNothingElseSetsThemTo) {
    FakeSpeechEngine current({"Alice"});
    FakeSpeechEngine older({"en"});
    SettingsStore settings;
    test::ManualClock clock;
    modSpeech speech(&current, &older, settings, clock);

    // With nothing to say the engines are never asked (asking sets them learning, at a cost in memory).
    speech.releaseFinishedSpeech();
    EXPECT_EQ(current.preparingAsked + older.preparingAsked, 0);

    current.learning = true;
    EXPECT_TRUE(speech.speak("first"));
    EXPECT_TRUE(speech.speak("second"));
    EXPECT_GE(older.preparingAsked, 1); // both start learning, as either may be the one to speak
    speech.releaseFinishedSpeech();
    EXPECT_TRUE(current.spoken.empty());
    EXPECT_EQ(speech.waiting(), 2u);

    current.learning = false;
    current.finishesAtOnce = true;
    speech.releaseFinishedSpeech();
    ASSERT_EQ(current.spoken.size(), 2u);
    EXPECT_EQ(current.spoken[0].text, "first");
    EXPECT_EQ(current.spoken[1].text, "second");
}

} // namespace
} // namespace halvika
