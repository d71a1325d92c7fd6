#include "profiles/inifilesession.h"

#include "core/producttexts.h"
#include "platform/prompts.h"
#include "profiles/newinifile.h"

bool WithNewInifile(const QString& path, IPrompts& prompts,
                    const std::function<void(TNewInifile&)>& use) {
    try {
        std::unique_ptr<TNewInifile> ini = TNewInifile::Create(path);
        use(*ini);
        TNewInifile::SaveAndFree(ini);
        return true;
    } catch (const EInifileError& error) {
        prompts.inform(error.message(), QString::fromLatin1(ProductTexts::ProductName));
        return false;
    }
}
