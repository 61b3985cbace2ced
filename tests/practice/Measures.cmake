# A learner with a planted leak drilled on its own deck: seeded games reviewed before and after,
# a minute or two optimised; in the optimised build only.
brisquel_gtest(practice_learner_tests
  SOURCES practice/LearnerTest.cpp
  LINKS test_support test_support_poker practice coach playout opponents engine)
target_compile_definitions(practice_learner_tests PRIVATE
  BRISQUEL_COACH_DATA="${PROJECT_SOURCE_DIR}/tests/data/coach")
