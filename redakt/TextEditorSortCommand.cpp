// TTextEditor: the sort command: plainly as text, by the lines' integer
// values, or by a key that an expression computes from each line; with
// multithreading on, as tasks of a dispatcher that the user-interface thread
// waits for in 100 ms steps.
#include "TextEditorSortCommand.h"

#include <algorithm>
#include <memory>
#include <new>
#include <numeric>
#include <vector>

#include "TextEditor.h"
#include "TextEditorFunctions.h"
#include "TextEditorLineCommandRun.h"
#include "TextEditorTexts.h"
#include "ThreadFunctions.h"

// ---- TExprSortItem, TExprSortItems ----

TExprSortItem::TExprSortItem(const TExprSortItem& source) : TContainerItem() {
    TExprSortItem::Init();
    Assign(source);
}

TExprSortItem::TExprSortItem(int index, const TString& key) : index(index), key(key) {}

TExprSortItem& TExprSortItem::operator=(const TExprSortItem& source) {
    Assign(source);
    return *this;
}

void TExprSortItem::Assign(const TContainerItem& source) {
    TContainerItem::Assign(source);
    if (const auto* item = dynamic_cast<const TExprSortItem*>(&source)) {
        index = item->index;
        key = item->key;
        number = item->number;
        prefix = item->prefix;
    }
}

void TExprSortItem::Init() {
    index = 0;
    key.Clear();
    number = 0;
    prefix = 0;
}

TExprSortItems::TExprSortItems(const TExprSortItems& source) : TObjectContainer<TExprSortItem>() {
    Assign(source);
    editor = source.editor;
    numeric = source.numeric;
}

TExprSortItems& TExprSortItems::operator=(const TExprSortItems& source) {
    Assign(source);
    editor = source.editor;
    numeric = source.numeric;
    return *this;
}

// The items go before their storage, and through this class's FreeItem.
TExprSortItems::~TExprSortItems() { DeleteAll(true); }

namespace {

uint64_t PrefixOf(const TString& text) {
    const std::string& bytes = text.str();
    uint64_t prefix = 0;
    for (size_t i = 0; i < 8; ++i) prefix = prefix << 8 | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
    return prefix;
}

const TExprSortItem& SortItemAt(const void* item) {
    return *static_cast<const TExprSortItem*>(static_cast<const TContainerItem*>(item));
}

}  // namespace

void TExprSortItems::PrepareKeys() {
    for (int i = 0; i < GetCount(); ++i) (*this)[i].prefix = PrefixOf((*this)[i].key);
}

void* TExprSortItems::CreateItem(int) {
    if (usedInBlock == kBlockItems) {
        blocks.emplace_back(new unsigned char[kBlockItems * sizeof(TExprSortItem)]);
        usedInBlock = 0;
    }
    auto* item = new (blocks.back().get() + usedInBlock++ * sizeof(TExprSortItem)) TExprSortItem;
    item->pooled = true;
    item->SetOwner(this);
    return static_cast<TContainerItem*>(item);
}

void TExprSortItems::FreeItem(void* item) {
    auto* sortItem = static_cast<TExprSortItem*>(static_cast<TContainerItem*>(item));
    if (sortItem == nullptr) return;
    if (sortItem->pooled)
        sortItem->~TExprSortItem();
    else
        delete sortItem;
}

// Equal prefixes, which texts that differ within their first eight bytes
// never have, send the comparison to the whole texts.
int TExprSortItems::CompareItems(const void* a, const void* b) const {
    if (editor != nullptr && GetSortRunner() == nullptr) editor->ProgressChange(0, -3);
    const TExprSortItem& first = SortItemAt(a);
    const TExprSortItem& second = SortItemAt(b);
    if (numeric) return first.number < second.number ? -1 : (second.number < first.number ? 1 : 0);
    if (first.prefix != second.prefix) return first.prefix < second.prefix ? -1 : 1;
    return first.key.Compare(second.key);
}

// ---- TSortWaitThread ----

TSortWaitThread::TSortWaitThread(TTaskDispatcher* dispatcher, HANDLE event)
    : TThread(true), dispatcher(dispatcher), event(event) {
    SetFreeOnTerminate(true);
    Start();
}

void TSortWaitThread::Execute() {
    dispatcher->WaitForGroup(0);
    SetEvent(event);
}

// ---- The sort command ----

namespace {

constexpr DWORD kTickMilliseconds = 100;

// What an argument asks for: empty sorts the lines as text; a beginning of
// "num" by their integer values; anything else is a key expression, whose
// values compare as integers when the argument ends with " num".
struct TSortRequest {
    enum TKind { skText, skNumbers, skKeyed } kind = skText;
    TString expression;
    bool numeric = false;
};

TSortRequest SortRequestOf(const TString& argument) {
    TSortRequest request;
    if (argument.IsEmpty()) return request;
    if (TString("num").Pos(argument) == 0) {
        request.kind = TSortRequest::skNumbers;
        request.numeric = true;
        return request;
    }
    request.kind = TSortRequest::skKeyed;
    request.expression = argument;
    if (argument.EndsWith(TString(" num"))) {
        request.expression = argument.Left(argument.Length() - 4);
        request.numeric = true;
    }
    return request;
}

// The -4 ticks of one sort: one whenever 100 ms have passed since the last
// (or since the start), whether the key loop or the wait reports it, so the
// cadence holds across the two.
class TSortTicks {
public:
    explicit TSortTicks(TTextEditor& editor) : editor_(editor), last_(GetTickCount()) {}

    void TickIfDue() {
        if (GetTickCount() - last_ >= kTickMilliseconds) Tick();
    }
    void Tick() {
        last_ = GetTickCount();
        editor_.ProgressChange(0, -4);
    }
    // Milliseconds until the next tick is due; 0 when it is.
    DWORD UntilDue() const {
        const DWORD passed = GetTickCount() - last_;
        return passed >= kTickMilliseconds ? 0 : kTickMilliseconds - passed;
    }

private:
    TTextEditor& editor_;
    DWORD last_;
};

// The sorts of one command: on this thread, or with multithreading on as the
// tasks of a dispatcher-thread-mode dispatcher (made at the first sort) that
// it lends to the runner slots of the containers it sorts. The slots are
// cleared before the dispatcher goes.
class TSortRun {
public:
    explicit TSortRun(TTextEditor& editor) : editor_(editor), ticks_(editor) {}
    ~TSortRun() {
        for (TContainer* container : borrowers_) container->SetSortRunner(nullptr, container->GetSortChunkSize());
    }
    TSortRun(const TSortRun&) = delete;
    TSortRun& operator=(const TSortRun&) = delete;

    bool Threaded() const { return editor_.multiThreaded; }
    TSortTicks& Ticks() { return ticks_; }

    // sort() sorts the container; with a dispatcher it returns at once, and
    // the wait follows here.
    template <class Sort>
    void Run(TContainer& container, Sort sort) {
        if (!Threaded()) {
            sort();
            return;
        }
        if (dispatcher_ == nullptr) {
            const int pending = std::max(2 * editor_.lines.GetCount(), 1);
            dispatcher_ = std::make_unique<TTaskDispatcher>(GetThreadCount(editor_.threadCount, true), pending);
        }
        container.SetSortRunner(dispatcher_.get(), editor_.chunkLines);
        borrowers_.push_back(&container);
        sort();
        Wait();
    }

private:
    // The waiter thread signals the event when group 0 is done; meanwhile a
    // tick after every step of the wait that timed out. The event is closed
    // only after it was signalled, whatever happens here.
    void Wait() {
        HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (done == nullptr) {
            dispatcher_->WaitForGroup(0);
            return;
        }
        try {
            new TSortWaitThread(dispatcher_.get(), done);
        } catch (...) {
            CloseHandle(done);
            dispatcher_->WaitForGroup(0);
            return;
        }
        DWORD state = WAIT_TIMEOUT;
        try {
            while ((state = WaitForSingleObject(done, ticks_.UntilDue())) == WAIT_TIMEOUT) ticks_.Tick();
        } catch (...) {
            WaitForSingleObject(done, INFINITE);
            CloseHandle(done);
            throw;
        }
        if (state != WAIT_OBJECT_0) dispatcher_->WaitForGroup(0);
        CloseHandle(done);
    }

    TTextEditor& editor_;
    TSortTicks ticks_;
    std::vector<TContainer*> borrowers_;
    // Declared last, so that it goes first; the slots are cleared before.
    std::unique_ptr<TTaskDispatcher> dispatcher_;
};

// Items for lines first..last, each with its integer value.
void AddNumberItems(TTextEditor& editor, int first, int last, TExprSortItems& items) {
    for (int i = first; i <= last; ++i) {
        TExprSortItem* item = items.NewItem();
        item->index = i;
        editor.lines[i].ParseInt64(item->number);
    }
}

// Items for every line of the text, each with the expression's value for it
// (or that value's integer when numeric), with the ticks that fall due.
void AddKeyItems(TTextEditor& editor, TExpression& expression, bool numeric, TExprSortItems& items,
                 TSortTicks& ticks) {
    editor.runtimeVars.ClearRecentLines();
    TString value;
    for (int i = 0; i < editor.lines.GetCount(); ++i) {
        editor.NewLine(i);
        TExprSortItem* item = items.NewItem();
        item->index = i;
        if (numeric) {
            expression.EvalS(value);
            value.ParseInt64(item->number);
        } else {
            expression.EvalS(item->key);
        }
        ticks.TickIfDue();
    }
}

// Sorts the items and moves the lines from first on into their order.
void SortLinesByItems(TTextEditor& editor, TExprSortItems& items, int first, TSortRun& run) {
    items.editor = &editor;
    if (!items.numeric) items.PrepareKeys();
    run.Run(items, [&] { items.Sort(); });
    std::vector<int> order(static_cast<size_t>(editor.lines.GetCount()));
    std::iota(order.begin(), order.end(), 0);
    for (int k = 0; k < items.GetCount(); ++k) order[static_cast<size_t>(first + k)] = items[k].index;
    editor.lines.Rearrange(order.data());
}

}  // namespace

// The plain sorts keep to the working range; a keyed sort reorders the
// whole text. No undo record is made, so the undo stack is emptied: its
// records would meet reordered lines. A bad key expression changes nothing.
void TTextEditor::CmdSort(TString& argument) {
    const TSortRequest request = SortRequestOf(argument);
    bool sorted = true;
    {
        TLineCommandRun running(*this);
        int first = 0, last = 0;
        ClampedWorkingRange(*this, first, last);
        statusText = TString(TextEditorText(100473, "Sorting"));
        ProgressChange(0, -1);
        TExprSortItems items;
        items.numeric = request.numeric;
        TSortRun run(*this);
        switch (request.kind) {
            case TSortRequest::skText: {
                TTextEditorSortContext context{this, 0, run.Threaded()};
                run.Run(lines, [&] { lines.Sort(first, last, CompareLines, &context); });
                break;
            }
            case TSortRequest::skNumbers:
                AddNumberItems(*this, first, last, items);
                SortLinesByItems(*this, items, first, run);
                break;
            case TSortRequest::skKeyed: {
                TExpression expression;
                sorted = CreateExpression(request.expression, expression);
                if (!sorted) break;
                AddKeyItems(*this, expression, request.numeric, items, run.Ticks());
                SortLinesByItems(*this, items, 0, run);
                break;
            }
        }
        statusText.Clear();
        ProgressChange(0, -2);
    }
    if (!sorted) return;
    ClearUndo();
    RefreshLines(-1);
    SetModified(true);
}
