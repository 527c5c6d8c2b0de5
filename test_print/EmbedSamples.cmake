# Writes the sample receipts into a source file as raw string literals.
file(READ ${RUSSIAN} russian)
file(READ ${ENGLISH} english)
file(WRITE ${OUTPUT} "#include \"BuiltInSample.h\"\n\n"
     "std::string_view BuiltInSample(SampleLanguage language) {\n"
     "    static constexpr std::string_view kRussian = R\"tq20sample(${russian})tq20sample\";\n"
     "    static constexpr std::string_view kEnglish = R\"tq20sample(${english})tq20sample\";\n"
     "    return language == SampleLanguage::English ? kEnglish : kRussian;\n"
     "}\n")
