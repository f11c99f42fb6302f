#pragma once

#include "quiz/quiz_result.h"
#include "run/ui_worker_thread.h"

#include <cstdint>
#include <mutex>
#include <string>

class CPlayField;
class CQuestionSet;

// The run controller: plays the loaded questions one after another on the
// worker thread.
class CQuizRunner : public CUiWorkerThread
{
public:
    static constexpr int32_t kQuestionPause = 1000;
    static constexpr int32_t kVerdictPause = 1000;
    static constexpr int32_t kBaseStepDelay = 200;
    static constexpr int32_t kDelayPerSegment = 15;
    // The last wait the speed-up reaches before it would go negative (5 ms
    // at 13 segments). Any shorter and the snake only burns the processor.
    static constexpr int32_t kFastestStepDelay = kBaseStepDelay % kDelayPerSegment;

    // The wait after a step: faster with every tile eaten, never below the
    // fastest (answers of fifteen bytes and more would go on shrinking).
    static int32_t StepDelay(int32_t nSegments);
    // "正解:answer" or "不正解:answer" in code page 932.
    static std::string Verdict(bool bCorrect, const std::string& strAnswer);

    CQuizRunner() = default;
    ~CQuizRunner() override;

    void SetField(CPlayField* pField) { m_pField = pField; }
    void SetQuestions(CQuestionSet* pQuestions) { m_pQuestions = pQuestions; }

    // The question loop.
    void Run() override;

    // Pause from the window's thread: the loop holds and the field shows the
    // pause mark.
    void SetPause(bool bPaused);
    // Returns whether the run is paused now.
    bool TogglePause();
    bool IsPaused() const { return m_bPaused.load() != 0; }

    // The last quiz played to its end, shown in menu mode; empty for none.
    CQuizResult GetResult() const;
    void ClearResult();

protected:
    // A new run takes the field in play mode with nothing of the last run
    // left on it; one that cannot begin leaves it in menu mode.
    void OnStarting() override;
    void OnStartFailed() override;
    void SetResult(CQuizResult result);

private:
    void Invalidate(bool bErase);

    CPlayField* m_pField = nullptr;
    CQuestionSet* m_pQuestions = nullptr;
    // The game loop writes the result, the window's thread draws it.
    mutable std::mutex m_csResult;
    CQuizResult m_result;
};
