#include "update/about.h"

#include "app/version.h"

namespace tovek::update {

std::string mailLinkText(std::string_view address)
{
    return "mailto:" + std::string(address) + "?subject=Tovek Hakkinda&Body=Tovek Hakkinda";
}

std::string noticeText()
{
    return std::string(kNotice) + "\n" +
           "Bu program öğretmenler için ücretsiz dağıtılır.\n"
           "Olduğu gibi sunulur; kullanımından doğan\n"
           "sonuçlardan yazarı sorumlu tutulamaz.";
}

} // namespace tovek::update
