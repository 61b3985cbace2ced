#!/usr/bin/env bash
# How the coach grades real hands played elsewhere: reviews every decision of each player listed
# in DIR/players.tsv ("-": the player the cards were dealt to) with one seed and prints the grades,
# the share of folds graded mistake or worse, the share of decisions whose best option is a bet,
# a raise or all in, and how many of those best options are worth exactly the pot (which is what
# a bet is worth when no opponent ever calls it in the play-outs). Exits 1 when more than 25 % of
# the graded folds are mistakes or worse, or when the best option is a bet, a raise or all in for
# more than 60 % of the graded decisions.
#
# usage: scripts/coach-real-hands.sh BRISQUEL_CLI DIR [SEED]
set -euo pipefail
cli=$1
dir=$2
seed=${3:-1}

# The big blind in the units of the review's amounts: cents for money games, chips otherwise.
big_blind() {
  case $1 in
    *.phh | *.phhs)
      local blinds
      blinds=$(sed -n 's/^blinds_or_straddles = \[\(.*\)\]/\1/p' "$1" | head -n 1)
      if grep -q '^currency_symbol' "$1"; then
        echo "$blinds" | tr ',' '\n' | awk '$1 > bb { bb = $1 } END { printf "%d", bb * 100 + 0.5 }'
      else
        echo "$blinds" | tr ',' '\n' | awk '$1 > bb { bb = $1 } END { print bb }'
      fi
      ;;
    *)
      # "... ($0.01/$0.02 USD) ..." or "... (10/20) ..." on the first line
      sed -n '1s/^[^(]*([^/]*\/\([^ )]*\).*/\1/p' "$1" | awk '
        /\$|€|£/ { gsub(/[^0-9.]/, ""); printf "%d", $0 * 100 + 0.5; next }
        { print $0 }'
      ;;
  esac
}

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
start=$(date +%s)
while IFS=$'\t' read -r file player; do
  [[ -z $file || $file == \#* ]] && continue
  args=(review "$dir/$file" --seed "$seed")
  [[ $player != - ]] && args+=(--player "$player")
  # The decisions' rows, from the header line to the first empty line, by column name.
  "$cli" "${args[@]}" | awk -F'\t' -v source="${file%%/*}" -v bb="$(big_blind "$dir/$file")" \
    -v file="$file" '
    $1 == "hand" && $2 == "street" { for (i = 1; i <= NF; i++) at[$i] = i; width = NF; next }
    NF == 0 { width = 0 }
    width && NF == width {
      print source "\t" bb "\t" file "\t" $at["hand"] "\t" $at["action"] "\t" $at["pot"] "\t" \
            $at["best"] "\t" $at["ev_best_bb"] "\t" $at["grade"]
    }' >>"$rows"
done <"$dir/players.tsv"
elapsed=$(($(date +%s) - start))

# Columns: source, big blind, file, hand, action, pot, best, ev_best_bb, grade.
awk -F'\t' -v elapsed="$elapsed" -v seed="$seed" '
  function share(part, whole) { return whole ? sprintf("%.1f %%", 100 * part / whole) : "-" }
  {
    n++
    decisions[$1]++
    if (!(($1, $3, $4) in seen)) { seen[$1, $3, $4] = 1; hands[$1]++; handsAll++ }
    grade = $9
    grades[grade]++
    best = $7
    if (grade == "-") next
    graded++
    split(best, word, " ")
    bestKind[word[1] == "all" ? "all in" : word[1]]++
    if ($5 == "fold") {
      folds++
      if (grade == "mistake" || grade == "blunder") badFolds++
    }
    if (best ~ /^(bet|raise|all in)/) {
      betBest++
      if (sprintf("%.2f", $6 / $2) == sprintf("%.2f", $8)) betAtPot++
    }
  }
  END {
    printf "seed %s, %d s\n", seed, elapsed
    for (s in decisions) printf "source %s: %d hands, %d decisions\n", s, hands[s], decisions[s]
    printf "decisions %d (hands %d), graded %d\n", n, handsAll, graded
    split("ok|small mistake|mistake|blunder|-", order, "|")
    for (i = 1; i <= 5; i++)
      printf "grade %s: %d (%s)\n", order[i], grades[order[i]], share(grades[order[i]], n)
    split("fold|check|call|bet|raise|all in", kinds, "|")
    for (i = 1; i <= 6; i++)
      printf "best %s: %d (%s)\n", kinds[i], bestKind[kinds[i]], share(bestKind[kinds[i]], graded)
    printf "folds graded mistake or worse: %d of %d (%s), at most 25 %%\n", badFolds, folds,
           share(badFolds, folds)
    printf "best option a bet, raise or all in: %d of %d (%s), at most 60 %%\n", betBest, graded,
           share(betBest, graded)
    printf "of those worth exactly the pot: %d of %d (%s)\n", betAtPot, betBest,
           share(betAtPot, betBest)
    if (!graded) exit 2
    exit (4 * badFolds > folds || 5 * betBest > 3 * graded) ? 1 : 0
  }' "$rows"
