# The coach measured against poker facts the tests work out themselves, on hands written as
# imported PokerStars text, and on real hands played elsewhere. Their reviews of some 2,000
# decisions take a minute or two optimised and a quarter of an hour under the sanitizers, so they
# are built in the optimised build only (tests/CMakeLists.txt includes this file there).
brisquel_gtest(coach_spots_tests
  SOURCES coach/PushFoldSpotsTest.cpp coach/TextbookSpotsTest.cpp coach/YardsticksTest.cpp
  LINKS test_support_spots)
target_compile_definitions(coach_spots_tests PRIVATE
  BRISQUEL_COACH_DATA="${PROJECT_SOURCE_DIR}/tests/data/coach")

# The coach's grades of real hands played elsewhere (tests/data/coach/real): at most a quarter of
# the folds graded mistake or worse, a bet or raise the best option in at most 60 % of the
# decisions. About a minute of one core.
add_test(NAME coach_real_hands
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/coach-real-hands.sh
                 $<TARGET_FILE:brisquel-cli> ${PROJECT_SOURCE_DIR}/tests/data/coach/real)
set_tests_properties(coach_real_hands PROPERTIES LABELS coach_real_hands TIMEOUT 1500)
