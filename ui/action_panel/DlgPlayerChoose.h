#pragma once
// The human's action panel: FOLD, check/call, bet/raise, the amount slider, the edit box, the
// "-"/"+" steps and the five sizing buttons.
//
// Threads: a UI-thread widget. The only member another thread may call is
// PrepareDecision(int sliderMax), which the game thread calls without the state mutex held; it
// returns once the panel is prepared on the UI thread. The decision handlers hide the controls
// and hand the decision to the game (CDunmereGame::SubmitHumanDecision); they only read the
// table, under the state mutex.

#include "ui/action_panel/MySliderControl.h"

#include <QWidget>

#include <memory>
#include <mutex>

class CDunmereGame;
class CGameTable;
class QLineEdit;
class QPushButton;
class QShortcut;

class CDlgPlayerChoose : public QWidget
{
    Q_OBJECT
public:
    explicit CDlgPlayerChoose(CDunmereGame &game, QWidget *parent = nullptr);
    ~CDlgPlayerChoose() override;

    // Creates the panel as a visible child of parent at (0, 0), the game's state behind it.
    static CDlgPlayerChoose *CreatePanel(CDunmereGame &game, QWidget *parent);

    // Game thread (lock not held): slider range 0..sliderMax, then PrepareDecision() on the UI
    // thread; returns when the panel is ready. Called on the UI thread it runs directly.
    void PrepareDecision(int sliderMax);
    // UI thread: shows the controls for the human's turn (the slider range is already set).
    void PrepareDecision();
    bool IsDecisionPrepared() const { return m_prepared; }
    // UI thread, before the game is shut down: a PrepareDecision pending on the game thread
    // returns at once instead of waiting for the UI thread.
    void AbandonPendingPrepare();

    // Button handlers.
    void OnFold();
    void OnCheckCall();
    void OnRaise();
    void OnMinus();
    void OnPlus();
    void OnMin();
    void OnHalf();
    void OnThreeQuarters();
    void OnPot();
    void OnMax();
    // Enter in the amount box.
    void OnEditEnter();
    // Runs at the start of every slider paint: rounds the slider position to the offered amount.
    void ApplySliderRule();

    // Dialog data exchange: true reads the slider and edit box into the members, false writes
    // the members to them.
    void UpdateData(bool saveAndValidate);

    int m_sliderPos = 0;
    QString m_editText;
    int m_raiseAmount = 0;
    unsigned char m_allInOnly = 0;

    QPushButton *foldButton() const { return m_fold; }
    QPushButton *checkCallButton() const { return m_checkCall; }
    QPushButton *raiseButton() const { return m_raise; }
    QPushButton *minButton() const { return m_min; }
    QPushButton *halfButton() const { return m_half; }
    QPushButton *threeQuartersButton() const { return m_threeQuarters; }
    QPushButton *potButton() const { return m_pot; }
    QPushButton *maxButton() const { return m_max; }
    QPushButton *minusButton() const { return m_minus; }
    QPushButton *plusButton() const { return m_plus; }
    CMySliderControl *slider() const { return m_slider; }
    QLineEdit *amountEdit() const { return m_edit; }

signals:
    // The decision just made, emitted before it is handed to the game.
    void decided(int amount, bool folded);
    // Game thread: a prepare request waits in m_pending (connected queued to RunPendingPrepare).
    void prepareRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The quantities of the decision, read under the state mutex.
    struct Amounts
    {
        int A = 0;            // amount to call: the round's highest bet
        int BB = 0;           // big blind
        int S = 0;            // the human's chips not yet bet
        int H = 0;            // the human's bet in this round
        int P = 0;            // pot including the round's bets
        int minTotal = 0;     // the smallest legal bet or raise total
        bool mayRaise = true; // false when short all-ins have not reopened the betting
        int Aplus() const { return A > 0 ? A : 0; }
        int M() const { return minTotal; }                  // the minimum raise total
        int T() const { return S + H < M() ? S + H : M(); } // smallest total the steps accept
        // The largest total: all in. The chips already bet this round count, or a seat that has
        // bet would keep them behind when it asks for everything.
        int Top() const { return S + H; }
        // A sizing amount the raise button may use: at least the minimum, or all in.
        bool Legal(int v) const { return v >= M() || v >= Top(); }
    };
    Amounts ReadAmounts() const;
    void SetCaptions();
    void HideAll();
    void Decide(int amount, bool fold);
    void ApplySizing(QPushButton *button, int v, bool moveSlider);
    void ApplyMinMax(QPushButton *button, int v, int A);
    void CreateControls();
    void RunPendingPrepare();

    CDunmereGame &m_game;
    const CGameTable &m_table; // read under the game's state mutex
    bool m_prepared = false;
    int m_enteredAmount = -1; // the amount Enter set, while the slider stays where Enter put it

    QPushButton *m_fold = nullptr;
    QPushButton *m_checkCall = nullptr;
    QPushButton *m_raise = nullptr;
    QPushButton *m_min = nullptr;
    QPushButton *m_half = nullptr;
    QPushButton *m_threeQuarters = nullptr;
    QPushButton *m_pot = nullptr;
    QPushButton *m_max = nullptr;
    QPushButton *m_minus = nullptr;
    QPushButton *m_plus = nullptr;
    CMySliderControl *m_slider = nullptr;
    QLineEdit *m_edit = nullptr;

    // Shared with a game thread waiting in PrepareDecision(int), so that it can be released
    // even after the panel is gone.
    struct PendingPrepare;
    std::shared_ptr<PendingPrepare> m_pending;
};
