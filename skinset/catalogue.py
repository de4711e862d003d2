"""The shipped skin set: the notifier's 87 skins (indices 0-86) and the installer's one.

Indices that the programs give a meaning keep a matching look: 23 and 81 are the defaults (the stored container's
index and the settings default), 42 a Luna blue, 43/45 Office 2010 black, 44/47 silver, 46 blue, 48-51 Office 2013
white, 77 a Windows 7 look and 80 a Windows 8 look (the popup style follows these indices).
"""

from build import EFFECTS, MORPH_KINDS
from theme import ACCENTS, DESIGNS

# The skin dialog lists the short Russian descriptions (the list is narrow); skin.ini keeps the English comments.
TITLES_RU = {'aero': 'Аэро', 'metro': 'Метро', 'office10': 'Офис 2010', 'office13': 'Офис 2013', 'luna': 'Луна',
             'classic': 'Классика', 'carbon': 'Карбон', 'elegant': 'Трелм'}
ACCENTS_RU = {
    'Ocean': 'океан', 'Azure': 'лазурь', 'Cobalt': 'кобальт', 'Indigo': 'индиго', 'Violet': 'фиалка',
    'Plum': 'слива', 'Rose': 'роза', 'Crimson': 'кармин', 'Coral': 'коралл', 'Amber': 'янтарь', 'Olive': 'олива',
    'Moss': 'мох', 'Jade': 'нефрит', 'Teal': 'бирюза', 'Lagoon': 'лагуна', 'Slate': 'сланец', 'Graphite': 'графит',
    'Steel': 'сталь', 'Sand': 'песок', 'Mocha': 'мокко', 'Cherry': 'вишня', 'Mint': 'мята', 'Ice': 'лёд',
    'Midnight': 'полночь', 'Orchid': 'орхидея', 'Forest': 'лес', 'Ruby': 'рубин', 'Copper': 'медь', 'Sky': 'небо',
    'Emerald': 'изумруд', 'Gold': 'золото', 'Lilac': 'сирень', 'Storm': 'гроза', 'Tangerine': 'мандарин',
    'Navy': 'синева'}

ORDER = ['aero', 'metro', 'office10', 'office13', 'luna', 'classic', 'carbon', 'elegant']

SPECIAL = {
    23: dict(design='elegant', accent='#3D7CC9', variant='dark', name='Trelm Graphite',
             description='Трелм: графит', comments='Trelm Mail default: graphite caption, soft rounded frame with a drop shadow'),
    81: dict(design='elegant', accent='#2E6DB4', name='Trelm Blue',
             description='Трелм: синий', comments='Trelm Mail default: deep blue caption, soft rounded frame with a drop shadow'),
    42: dict(design='luna', accent='#0A56D8', name='Luna Blue', description='Луна: синий', comments='Luna blue: rounded saturated caption'),
    43: dict(design='office10', accent='#F0A030', variant='black', name='Office 2010 Black',
             description='Офис 2010: чёрный', comments='Office 2010 black'),
    45: dict(design='office10', accent='#5E86B4', variant='black', name='Office 2010 Black Steel',
             description='Офис 2010: сталь', comments='Office 2010 black with steel-blue highlights'),
    44: dict(design='office10', accent='#4C7BB6', variant='silver', name='Office 2010 Silver',
             description='Офис 2010: серебро', comments='Office 2010 silver'),
    47: dict(design='office10', accent='#6D8FB0', variant='silver', name='Office 2010 Silver Mist',
             description='Офис 2010: туман', comments='Office 2010 silver with misty blue highlights'),
    46: dict(design='office10', accent='#2F6DB3', variant='blue', name='Office 2010 Blue',
             description='Офис 2010: синий', comments='Office 2010 blue'),
    48: dict(design='office13', accent='#0072C6', name='Office 2013 White', description='Офис 2013: белый', comments='Office 2013 white, blue accent'),
    49: dict(design='office13', accent='#2B579A', name='Office 2013 White Navy',
             description='Офис 2013: морской', comments='Office 2013 white, navy accent'),
    50: dict(design='office13', accent='#217346', name='Office 2013 White Green',
             description='Офис 2013: зелёный', comments='Office 2013 white, green accent'),
    51: dict(design='office13', accent='#D24726', name='Office 2013 White Orange',
             description='Офис 2013: рыжий', comments='Office 2013 white, orange accent'),
    31: dict(design='elegant', accent='#23867F', name='Trelm Teal',
             description='Трелм: бирюза, слои', comments='Trelm Mail: teal caption, the whole frame drawn as a soft layered border'),
    77: dict(design='aero', accent='#3C7FC0', name='Windows 7', description='Windows 7', comments='Windows 7 look: glass frame'),
    80: dict(design='metro', accent='#1B6AC9', name='Windows 8', description='Windows 8', comments='Windows 8 look: flat accent frame'),
}

VERSION2 = {5, 19, 37, 55, 73}  # stored as version-2 blocks (two empty extra picture slots)
ANIMATE = {7, 38, 64}  # an animated system-menu caption object
FULL_LAYER = 31  # layered border that draws the whole frame
SHADOW_LAYER = {23, 81}  # layered drop shadow around the skinned frame
CAPTION_MORPH = {12, 58}


def notifier_specs():
    accents = list(ACCENTS.items())
    specs = []
    ai = 0
    di = 0
    used = set()
    auto_effect = 0
    for index in range(87):
        if index in SPECIAL:
            s = dict(SPECIAL[index])
        else:
            design = ORDER[di % len(ORDER)]
            di += 1
            while True:
                aname, acol = accents[ai % len(accents)]
                ai += 1
                name = '%s %s' % (DESIGNS[design]['title'], aname)
                if name not in used:
                    break
            variant = 'blue' if design == 'office10' else 'light'
            s = dict(design=design, accent=acol, variant=variant, name=name,
                     description='%s: %s' % (TITLES_RU[design], ACCENTS_RU[aname]),
                     comments='%s: %s, %s accent' % (DESIGNS[design]['title'], DESIGNS[design]['desc'], aname.lower()))
        used.add(s['name'])
        s['index'] = index
        s['morph'] = MORPH_KINDS[index % len(MORPH_KINDS)]
        # every fourth skin renders its inactive frame by an effect instead of a picture of its own
        if index % 4 == 2 and index not in SPECIAL:
            s['inactive_picture'] = False
            s['effect'] = EFFECTS[auto_effect % len(EFFECTS)]
            auto_effect += 1
        s['glow'] = s['design'] in ('aero', 'elegant', 'luna')
        s['button_glow'] = s['design'] == 'aero'
        s['menuitem_upper'] = s['design'] in ('classic', 'carbon')
        s['menu_morph'] = s['design'] in ('aero', 'office10')
        s['animate'] = index in ANIMATE
        s['caption_morph'] = index in CAPTION_MORPH
        s['rgba'] = s['design'] == 'carbon'
        s['version'] = 2 if index in VERSION2 else 3
        if index in SHADOW_LAYER:
            s['layer'] = 'shadow'
        elif index == FULL_LAYER:
            s['layer'] = 'full'
        specs.append(s)
    return specs


def setup_specs():
    return [dict(index=0, design='metro', accent='#1B6AC9', name='Windows 8', file='Win8.skn',
                 description='Windows 8', comments='Windows 8 look: flat accent frame', morph='mkdefault', glow=False, version=3)]


def slug(s):
    return ''.join(c if c.isalnum() else '_' for c in s['name']).strip('_')
