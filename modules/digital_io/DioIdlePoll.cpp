#include "DioIdlePoll.h"

#include "DioModel.h"
#include "ModelName.h"

CDioIdlePoll::EForm CDioIdlePoll::FormOf(const std::string& model, bool checksum, bool afterAnswer)
{
    const SDioModelRow* rules = DioFindRow(model, EDioTest::Rules);
    bool statusOnly = rules && rules->bStatusOnly;
    if (afterAnswer && checksum) statusOnly = ModelHasAny(model, {"6328", "9328"});
    if (statusOnly) return StatusOnly;
    return checksum || afterAnswer ? Plain : Interleaved;
}

int CDioIdlePoll::Next(EForm form, int inputs)
{
    m_nAsked = Step(form, inputs);
    return m_nAsked;
}

int CDioIdlePoll::Step(EForm form, int inputs)
{
    if (form == StatusOnly) {
        m_nCounterChannel = 0;
        return -1;
    }
    ++m_nCounterChannel;
    if (m_nCounterChannel > inputs) {
        m_nCounterChannel = 0;
        if (form == Interleaved) m_bCounterRead = true;
        return -1;
    }
    if (form == Interleaved && m_nCounterChannel % 2 == 0 && m_bCounterRead) {
        m_bCounterRead = false;
        --m_nCounterChannel;
        return -1;
    }
    if (form == Interleaved) m_bCounterRead = true;
    return m_nCounterChannel - 1;
}
