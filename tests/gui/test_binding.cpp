// The VST 2.4 binding: the host's editor opcodes reach the frame, and edit gestures on
// controls reach the host as audioMasterBeginEdit / audioMasterEndEdit.
#include "GuiTest.h"

#include "gui/AEffGUIEditor.h"

#include <utility>

namespace
{
std::vector<std::pair<VstInt32, VstInt32>> hostCalls; // opcode, index

VstIntPtr VSTCALLBACK recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                    float)
{
    if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit)
        hostCalls.emplace_back(opcode, index);
    return opcode == audioMasterVersion ? 2400 : 0;
}

// An editor with one knob and one text field on an offscreen frame.
class TestEditor : public AEffGUIEditor
{
public:
    using AEffGUIEditor::AEffGUIEditor;
    bool open(void* parent) override
    {
        AEffGUIEditor::open(parent);
        frame = new CFrame(CRect(0, 0, 200, 100), nullptr, this);
        knob = new CAnimKnob(CRect(0, 0, 35, 35), nullptr, 9, 101, 35, nullptr);
        knob->setValue(0.5f);
        frame->addView(knob);
        field = new CTextEdit(CRect(50, 0, 150, 15), nullptr, 33, "name");
        frame->addView(field);
        return true;
    }
    CAnimKnob* knob = nullptr;
    CTextEdit* field = nullptr;
};

class TestEffect : public AudioEffectX
{
public:
    TestEffect() : AudioEffectX(recordingHost, 1, 16)
    {
        auto owned = std::make_unique<TestEditor>(this);
        editor = owned.get();
        setEditor(std::move(owned));
    }
    void processReplacing(float**, float**, VstInt32) override {}
    TestEditor* editor;
};
} // namespace

TEST(GUIEditorBinding, HostOpcodesDriveTheFrameAndEditsReachTheHost)
{
    hostCalls.clear();
    TestEffect effect;
    effect.handOverToHost(); // as the entry point does: only then may the effect call the host
    int parent = 0;
    ASSERT_EQ(effect.dispatcher(effEditOpen, 0, 0, &parent, 0), 1);
    CFrame* frame = effect.editor->getFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(effect.dispatcher(effSetEditKnobMode, 0, kLinearMode, nullptr, 0), 1);

    CPoint p(10, 10);
    frame->onMouseDown(p, CButtonState(kLButton));
    p = CPoint(10, -10);
    frame->onMouseMoved(p, CButtonState(kLButton));
    frame->onMouseUp(p, CButtonState(kLButton));
    EXPECT_FLOAT_EQ(effect.editor->knob->getValue(), 0.6f); // linear: 20 pixels up
    EXPECT_EQ(hostCalls, (std::vector<std::pair<VstInt32, VstInt32>>{{audioMasterBeginEdit, 9},
                                                                     {audioMasterEndEdit, 9}}));

    // Keys the host passes on go to the field being edited.
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'x', 0, nullptr, 0), 0); // nobody editing
    p = CPoint(60, 5);
    frame->onMouseDown(p, CButtonState(kLButton));
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, '!', 0, nullptr, 0), 1);
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 0, VKEY_RETURN, nullptr, 0), 1);
    EXPECT_STREQ(effect.editor->field->getText(), "!"); // in place of the selected name

    EXPECT_EQ(effect.dispatcher(effEditIdle, 0, 0, nullptr, 0), 0);
    effect.dispatcher(effEditClose, 0, 0, nullptr, 0);
    EXPECT_EQ(effect.editor->getFrame(), nullptr);
    EXPECT_FALSE(effect.editor->isOpen());
}
