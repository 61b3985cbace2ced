#include "pokerlib/Evaluator.h"

namespace brisquel {

const EvalTables &Tables()
{
    static const EvalTables tables = StoredEvalTables();
    return tables;
}

} // namespace brisquel
