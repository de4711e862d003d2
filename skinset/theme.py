"""Base designs and palettes: a design fixes the metrics and the drawing style, a palette the colours; a theme is
the pair with every colour the pictures and the ini entries need."""

from draw import contrast, darken, lighten, luma, mix, readable, rgb

# Metrics and style of the eight base designs. cap_h: caption bar height; border: frame thickness at the sides and
# bottom; rt/rb: outer corner radii (top, bottom); btn: caption button style and size (w, h, close w); ctl: control
# style; r: control corner radius; modern: 1-pixel side frame (client rectangle starting at x = 1).
DESIGNS = {
    'aero': dict(title='Aero', cap_h=30, border=8, rt=8, rb=8, btn='glass', bw=26, bh=19, cw=44, ctl='glossy', r=3,
                 desc='glass-like frame with soft highlights and glowing caption buttons'),
    'metro': dict(title='Metro', cap_h=32, border=7, rt=0, rb=0, btn='flat', bw=30, bh=22, cw=46, ctl='flat', r=0,
                  desc='flat tiled look with a solid accent frame'),
    'office10': dict(title='Office 2010', cap_h=26, border=4, rt=4, rb=4, btn='pill', bw=25, bh=20, cw=25, ctl='glossy',
                     r=3, desc='office look with gentle gradients'),
    'office13': dict(title='Office 2013', cap_h=30, border=1, rt=0, rb=0, btn='flat', bw=34, bh=26, cw=34, ctl='flat', r=0,
                     modern=True, desc='clean white office look with a one-pixel accent frame'),
    'luna': dict(title='Luna', cap_h=28, border=4, rt=8, rb=0, btn='luna', bw=21, bh=21, cw=21, ctl='glossy', r=3,
                 desc='rounded, saturated caption with bright buttons'),
    'classic': dict(title='Classic', cap_h=22, border=4, rt=0, rb=0, btn='bevel', bw=18, bh=16, cw=18, ctl='bevel', r=0,
                    desc='raised three-dimensional frame with a colour-fading caption'),
    'carbon': dict(title='Carbon', cap_h=28, border=3, rt=2, rb=2, btn='outline', bw=24, bh=18, cw=24, ctl='flat', r=2,
                   desc='dark surfaces with a bright accent line'),
    'elegant': dict(title='Trelm', cap_h=32, border=6, rt=9, rb=9, btn='flatround', bw=30, bh=22, cw=34, ctl='soft', r=4,
                    desc='the house look: soft rounded frame with a drop shadow'),
}

# The button face of a plain Windows desktop, which unskinned controls paint, and how close a skin's client must
# come to it.
SYSTEM_FACE = (240, 240, 240)
CLIENT_MATCH = 1.04

# Named accent colours the palettes are built from.
ACCENTS = {
    'Ocean': '#2B6CB0', 'Azure': '#2F8FD8', 'Cobalt': '#1F4FA8', 'Indigo': '#4A4FB5', 'Violet': '#7B4FB8',
    'Plum': '#8E4A8C', 'Rose': '#C2456E', 'Crimson': '#B83A3A', 'Coral': '#E0694A', 'Amber': '#D98E1E',
    'Olive': '#7D8A2E', 'Moss': '#4F8A3A', 'Jade': '#2E9A6E', 'Teal': '#1F8A8A', 'Lagoon': '#1C9BB3',
    'Slate': '#56677A', 'Graphite': '#4A5058', 'Steel': '#5E7894', 'Sand': '#B08E5A', 'Mocha': '#7A5A44',
    'Cherry': '#A0284A', 'Mint': '#3FAE8C', 'Ice': '#5FA8D8', 'Midnight': '#283C64', 'Orchid': '#A85CC0',
    'Forest': '#2F6B3A', 'Ruby': '#9E1F3A', 'Copper': '#B2643A', 'Sky': '#3A9AE8', 'Emerald': '#22945A',
    'Gold': '#C8A030', 'Lilac': '#8A7AC8', 'Storm': '#44546A', 'Tangerine': '#E07A20', 'Navy': '#1F3A70',
}


class Theme:
    """Every colour of one skin as (r, g, b) tuples, plus the design metrics."""

    def __init__(self, design, accent, variant='light', **over):
        d = DESIGNS[design]
        self.design = design
        self.d = d
        a = rgb(accent)
        self.acc = a
        self.dark = variant == 'dark'
        self.variant = variant
        # caption, frame, client
        if design == 'aero':
            self.cap = [(0, lighten(a, .62)), (0.5, lighten(a, .45)), (0.52, lighten(a, .38)), (1, lighten(a, .48))]
            self.icap = [(0, lighten(a, .82)), (1, lighten(a, .74))]
            self.frame, self.iframe = lighten(a, .48), lighten(a, .74)
            self.outline, self.ioutline = darken(a, .35), mix(a, (150, 160, 170), .7)
            self.capfg, self.icapfg = (20, 32, 48), (90, 100, 112)
            self.face, self.window, self.text = (240, 243, 247), (255, 255, 255), (20, 24, 30)
        elif design == 'metro':
            self.cap = [(0, a), (1, a)]
            self.icap = [(0, lighten(a, .55)), (1, lighten(a, .55))]
            self.frame, self.iframe = a, lighten(a, .55)
            self.outline, self.ioutline = darken(a, .2), lighten(a, .4)
            self.capfg, self.icapfg = (255, 255, 255), (250, 250, 250)
            self.face, self.window, self.text = (243, 243, 243), (255, 255, 255), (30, 30, 30)
        elif design == 'office10':
            if variant == 'black':
                self.cap = [(0, (88, 88, 90)), (0.5, (64, 64, 66)), (1, (52, 52, 54))]
                self.icap = [(0, (120, 120, 122)), (1, (98, 98, 100))]
                self.frame, self.iframe = (56, 56, 58), (100, 100, 102)
                self.outline, self.ioutline = (20, 20, 22), (70, 70, 72)
                self.capfg, self.icapfg = (236, 236, 236), (190, 190, 190)
                self.face, self.window, self.text = (210, 211, 213), (250, 250, 250), (24, 24, 24)
                a = self.acc = rgb('#F0A030') if accent is None else a
            elif variant == 'silver':
                self.cap = [(0, (247, 249, 251)), (0.5, (233, 237, 241)), (1, (218, 224, 230))]
                self.icap = [(0, (250, 251, 252)), (1, (238, 240, 243))]
                self.frame, self.iframe = (221, 226, 232), (238, 240, 243)
                self.outline, self.ioutline = (132, 142, 154), (170, 176, 184)
                self.capfg, self.icapfg = (48, 54, 62), (130, 136, 144)
                self.face, self.window, self.text = (240, 242, 245), (255, 255, 255), (30, 34, 40)
            else:
                self.cap = [(0, lighten(a, .88)), (0.5, lighten(a, .8)), (1, lighten(a, .7))]
                self.icap = [(0, lighten(a, .93)), (1, lighten(a, .86))]
                self.frame, self.iframe = lighten(a, .72), lighten(a, .86)
                self.outline, self.ioutline = darken(a, .1), lighten(a, .45)
                self.capfg, self.icapfg = darken(a, .55), lighten(a, .2)
                self.face, self.window, self.text = lighten(a, .93), (255, 255, 255), (24, 32, 44)
        elif design == 'office13':
            self.cap = [(0, (255, 255, 255)), (1, (255, 255, 255))]
            self.icap = self.cap
            self.frame, self.iframe = (255, 255, 255), (255, 255, 255)
            self.outline, self.ioutline = a, (198, 198, 198)
            self.capfg, self.icapfg = (68, 68, 68), (160, 160, 160)
            self.face, self.window, self.text = (255, 255, 255), (255, 255, 255), (38, 38, 38)
        elif design == 'luna':
            self.cap = [(0, lighten(a, .35)), (0.12, lighten(a, .12)), (0.45, a), (0.85, darken(a, .06)),
                        (1, darken(a, .18))]
            self.icap = [(0, lighten(a, .7)), (0.5, lighten(a, .58)), (1, lighten(a, .5))]
            self.frame, self.iframe = darken(a, .04), lighten(a, .55)
            self.outline, self.ioutline = darken(a, .45), lighten(a, .25)
            self.capfg, self.icapfg = (255, 255, 255), (226, 232, 246)
            self.face, self.window, self.text = (236, 233, 216), (255, 255, 255), (0, 0, 0)
        elif design == 'classic':
            # horizontal fade towards a lighter tint that white text still reads on
            far = lighten(a, .55)
            while contrast((255, 255, 255), far) < 3.6:
                far = darken(far, .06)
            self.cap = [(0, darken(a, .35)), (1, far)]
            self.icap = [(0, (96, 96, 96)), (1, (138, 138, 138))]
            self.face = lighten(mix(a, (212, 208, 200), .85), .0)
            self.frame = self.iframe = self.face
            self.outline, self.ioutline = (64, 64, 64), (64, 64, 64)
            self.capfg, self.icapfg = (255, 255, 255), (236, 236, 236)
            self.window, self.text = (255, 255, 255), (0, 0, 0)
        elif design == 'carbon':
            self.cap = [(0, (60, 62, 66)), (1, (40, 42, 45))]
            self.icap = [(0, (52, 53, 56)), (1, (44, 45, 48))]
            self.frame, self.iframe = (38, 40, 43), (48, 49, 52)
            self.outline, self.ioutline = (14, 14, 16), (24, 24, 26)
            self.capfg, self.icapfg = (236, 238, 240), (140, 142, 146)
            self.face, self.window, self.text = (50, 52, 56), (32, 33, 36), (226, 228, 232)
            self.dark = True
        elif design == 'elegant':
            if variant == 'dark':
                self.cap = [(0, (84, 90, 99)), (0.5, (68, 74, 82)), (1, (58, 63, 71))]
                self.icap = [(0, (122, 127, 134)), (1, (108, 113, 120))]
                self.frame, self.iframe = (58, 63, 71), (108, 113, 120)
                self.outline, self.ioutline = (28, 31, 36), (82, 86, 92)
            else:
                self.cap = [(0, lighten(a, .16)), (0.5, a), (1, darken(a, .1))]
                self.icap = [(0, lighten(a, .62)), (1, lighten(a, .55))]
                self.frame, self.iframe = darken(a, .1), lighten(a, .55)
                self.outline, self.ioutline = darken(a, .5), lighten(a, .25)
            self.capfg, self.icapfg = (255, 255, 255), (238, 240, 244)
            self.face, self.window, self.text = (244, 246, 249), (255, 255, 255), (28, 32, 38)
            self.dark = False  # a dark caption over light controls
        for k, v in over.items():
            setattr(self, k, v)
        a = self.acc
        # caption texts must read on their caption: a light accent gets dark text
        mid = lambda stops: mix(stops[0][1], stops[-1][1], .5) if self.design != 'classic' else stops[0][1]
        if contrast(self.capfg, mid(self.cap)) < 3.5:
            self.capfg = readable(mid(self.cap), (24, 28, 34) if luma(mid(self.cap)) > 140 else (255, 255, 255), 4.5)
        self.icapfg = readable(mid(self.icap), self.icapfg, 2.4)
        # text, highlight and control colours derived from the above
        self.dtext = mix(self.text, self.face, .55)
        self.hi = a if not self.dark else lighten(a, .1)
        if design in ('office10', 'office13', 'aero') and not self.dark:
            self.hi = lighten(a, .15)
        self.hitext = (255, 255, 255) if contrast((255, 255, 255), self.hi) >= 4.5 else readable(self.hi, (0, 0, 0), 4.5)
        self.sel = lighten(a, .78) if not self.dark else mix(a, self.window, .45)  # soft selection fill
        self.selb = lighten(a, .35) if not self.dark else lighten(a, .1)
        if self.dark:
            self.btn = [(0, (78, 81, 86)), (1, (62, 64, 68))]
            self.btnb = (20, 20, 22)
            self.hot = [(0, mix(a, (90, 92, 96), .5)), (1, mix(a, (70, 72, 76), .6))]
            self.hotb = lighten(a, .2)
            self.down = [(0, darken(a, .35)), (1, darken(a, .2))]
            self.light, self.shadow = (86, 88, 92), (20, 20, 22)
            self.edgeb = (22, 23, 25)
        else:
            self.btn = [(0, (255, 255, 255)), (0.5, (243, 244, 246)), (0.51, (232, 234, 237)), (1, (222, 225, 229))]
            self.btnb = mix(self.face, (90, 96, 104), .55)
            self.hot = [(0, lighten(a, .92)), (0.5, lighten(a, .8)), (0.51, lighten(a, .7)), (1, lighten(a, .78))]
            self.hotb = lighten(a, .2)
            self.down = [(0, lighten(a, .62)), (1, lighten(a, .74))]
            self.light, self.shadow = (255, 255, 255), mix(self.face, (0, 0, 0), .35)
            self.edgeb = mix(self.face, (80, 86, 94), .45)
        if design in ('metro', 'office13', 'carbon'):
            flat = self.dark
            self.btn = [(0, (66, 68, 72) if flat else (229, 229, 229)), (1, (66, 68, 72) if flat else (229, 229, 229))]
            self.btnb = (20, 20, 22) if flat else (172, 172, 172)
            self.hot = [(0, mix(a, self.face, .55)), (1, mix(a, self.face, .55))] if flat else \
                [(0, lighten(a, .85)), (1, lighten(a, .85))]
            self.hotb = a if flat else lighten(a, .3)
            self.down = [(0, mix(a, self.face, .3)), (1, mix(a, self.face, .3))] if flat else \
                [(0, lighten(a, .7)), (1, lighten(a, .7))]
        if design == 'classic':
            self.btn = [(0, self.face), (1, self.face)]
            self.hot = [(0, lighten(self.face, .25)), (1, lighten(self.face, .25))]
            self.down = self.btn
            self.btnb = (64, 64, 64)
            self.hotb = self.btnb
        self.btntext = self.text
        self.btnhottext = self.text if not self.dark else (255, 255, 255)
        self.capbtnfg = self.capfg
        self.close = rgb('#E04343') if design != 'luna' else rgb('#E2552E')
        self.progress = [(0, lighten(a, .35)), (0.5, lighten(a, .1)), (0.51, a), (1, lighten(a, .2))]
        if design in ('metro', 'office13', 'carbon', 'classic'):
            self.progress = [(0, a), (1, a)]
        self.panel = self.face
        # The form's client is tiled from the frame picture; plain labels and pages paint the system's button face,
        # so a light skin whose face is far from it keeps its face for the skinned controls and gives the client the
        # neutral face. A dark skin keeps its dark client: its skinned labels are light and would not read on the
        # neutral face (the dialogs' labels lie on the client).
        self.client = self.face if self.dark or contrast(self.face, SYSTEM_FACE) < CLIENT_MATCH else SYSTEM_FACE
        self.toolbar = [(0, lighten(self.face, .6)), (1, self.face)] if not self.dark else \
            [(0, lighten(self.face, .06)), (1, self.face)]
        if design in ('metro', 'office13', 'carbon', 'classic'):
            self.toolbar = [(0, self.face), (1, self.face)]
        self.menu = self.window if not self.dark else (44, 46, 50)
        self.menutext = self.text
        self.menuhi = self.sel
        self.menuhib = self.selb
        self.hint = (255, 255, 240) if not self.dark else (60, 62, 66)
        self.hintb = mix(self.hint, (0, 0, 0), .45)
        self.hinttext = (30, 30, 30) if not self.dark else (236, 236, 236)
        self.grid = mix(self.window, self.text, .12)
