// The cases the page is tested with: the analysis tests' worked examples and failures, as a
// user enters them.
export const kWorkedExamples = [
  {
    name: 'short passing track, half a foot to even',
    layout: { scale: 'HO', pass: 0, func: 100, stor: 100, cars: { 40: 100 } },
    texts: ['10 ft. of mainline passing track should be added.', 'Functional trackage is ADEQUATE.', '',
      'Yard capacity is ADEQUATE.', 'Use a max. of 160 cars in service.', 'Based on 100 cars in service:',
      'Move 70 cars for a HEAVY session.', 'Move 50 cars for an AVERAGE session.',
      'Move 25 cars for a LIGHT session.'],
    warning: false,
  },
  {
    name: 'saturated yards base the sessions on the recommendation',
    layout: { scale: 'HO', pass: 10, func: 100, stor: 50, cars: { 40: 86 } },
    texts: ['Passing trackage is ADEQUATE.', 'Functional trackage is ADEQUATE.', '', 'Yards are SATURATED!',
      'Use a max. of 80 cars in service, or add 4 ft. of storage track.',
      'Based on the RECOMMENDATION of 80 cars in service:', 'Move 56 cars for a HEAVY session.',
      'Move 40 cars for an AVERAGE session.', 'Move 20 cars for a LIGHT session.'],
    warning: false,
  },
  {
    name: 'saturated functional trackage warns',
    layout: { scale: 'HO', pass: 10, func: 18, stor: 100, cars: { 40: 30 } },
    texts: ['Passing trackage is ADEQUATE.', 'Functional trackage is SATURATED!',
      'Move no more than 14.4 cars, or REDESIGN trackage.', 'Yard capacity is ADEQUATE.',
      'Use a max. of 160 cars in service.', 'Based on 30 cars in service:',
      'Move 21 cars for a HEAVY session.', 'Move 15 cars for an AVERAGE session.',
      'Move 7 cars for a LIGHT session.'],
    warning: true,
  },
  {
    name: 'O scale suggestion written with fifteen digits',
    layout: { scale: 'O', pass: 10, func: 7, stor: 100, cars: { 40: 10 } },
    texts: ['Passing trackage is ADEQUATE.', 'Functional trackage is SATURATED!',
      'Move no more than 2.8 cars, or REDESIGN trackage.', 'Yard capacity is ADEQUATE.',
      'Use a max. of 88 cars in service.', 'Based on 10 cars in service:',
      'Move 7 cars for a HEAVY session.', 'Move 5 cars for an AVERAGE session.',
      'Move 2 cars for a LIGHT session.'],
    warning: true,
  },
  {
    name: 'N scale passing need rounded to single precision',
    layout: { scale: 'N', pass: 10, func: 100, stor: 100, cars: { 40: 171 } },
    texts: ['Passing trackage is ADEQUATE.', 'Functional trackage is ADEQUATE.', '',
      'Yard capacity is ADEQUATE.', 'Use a max. of 287 cars in service.', 'Based on 171 cars in service:',
      'Move 119 cars for a HEAVY session.', 'Move 85 cars for an AVERAGE session.',
      'Move 42 cars for a LIGHT session.'],
    warning: false,
  },
  {
    name: 'every car length counted',
    layout: { scale: 'N', pass: 10, func: 100, stor: 100,
      cars: { 34: 10, 40: 101, 50: 4, 55: 3, 60: 2, 70: 4, 80: 5, 86: 3 } },
    texts: ['Passing trackage is ADEQUATE.', 'Functional trackage is ADEQUATE.', '',
      'Yard capacity is ADEQUATE.', 'Use a max. of 287 cars in service.', 'Based on 145 cars in service:',
      'Move 101 cars for a HEAVY session.', 'Move 72 cars for an AVERAGE session.',
      'Move 36 cars for a LIGHT session.'],
    warning: false,
  },
];

export const kFailures = [
  {
    name: 'nothing entered: zero over zero',
    layout: { scale: 'HO', pass: 0, func: 0, stor: 0 },
    lines: ['No VALUE has been entered for either the Functional or Storage',
      'track, and no CAR QUANTITIES have been entered.'],
  },
  {
    name: 'no functional track divides by zero',
    layout: { scale: 'HO', pass: 10, func: 0, stor: 100, cars: { 40: 10 } },
    lines: ['No VALUE has been entered for either the Functional or Storage track.'],
  },
  {
    name: 'Z scale functional capacity overflows',
    layout: { scale: 'Z', pass: 0, func: 9999, stor: 100, cars: { 40: 10 } },
    lines: ['No VALUE has been entered for either the Functional or Storage',
      'track, and no CAR QUANTITIES have been entered.'],
  },
];

// The worked example's report as the desktop copies it, dated `date`: its printed lines from
// the heading on, indented with blanks, the warning's halves at the 14-column zones.
export function pineRidgeCopy(date) {
  return `*** TRELVANE ***

Prepared for Pine Ridge
Date:  ${date}
Input data furnished:
      Your SCALE:  HO
      Mainline PASSING track length:  10 ft.
      FUNCTIONAL track length:  18 ft.
      Total STORAGE track length:  100 ft.
      EQUIVALENT number of 40' cars in service:  30


*** TRACKAGE ANALYSIS ***

Passing trackage is ADEQUATE.
Functional trackage is SATURATED!
      Move no more than 14.4 cars, or REDESIGN trackage.
Yard capacity is ADEQUATE.
      Use a max. of 160 cars in service.


*** OPERATING ANALYSIS ***

Based on 30 cars in service:
      Move 21 cars for a HEAVY session.
      Move 15 cars for an AVERAGE session.
      Move 7 cars for a LIGHT session.

      Warning!              Operation may not be satisfactory using these
              figures unless functional trackage is redesigned.
`;
}
