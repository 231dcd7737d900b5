#include "i18n/register.h"

#include "framework/reflection.h"
#include "i18n/binary_dictionary.h"
#include "i18n/translator.h"

namespace vsi {

void RegisterI18nClasses() {
  RegisterClass(TIvBinaryDictionary::StaticClass());
  RegisterClass(TIvTranslator::StaticClass());
}

}  // namespace vsi
