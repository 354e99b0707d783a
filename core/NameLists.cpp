#include "core/NameLists.h"

#include <array>

namespace varnel {
namespace {

// Row p of the weapon, armour and magic lists names record p of that table.
// Texts are shown exactly as written here, trailing blanks included.

constexpr std::array<std::string_view, 88> weaponNames{
    "不明物品", "Kaiser 恺撒指环", "Cat Claw 猫爪", "Dragon飞龙爪",
    "Elven 妖精爪", "HellClaw 地狱爪", "Nunthuck 双节棍", "Tonfa 东方棍",
    "3-Part 三节棍", "Mithril 秘银棒", "Flame 炎之棒", "Ice 冰之棒",
    "Light 光之棒", "Ultimate 究极之棒", "Staff 杖", "Burning 燃烧之杖",
    "Shining 冻结之杖", "Shining 闪光之杖", "Golem 石像之杖", "Rune 古文之杖",
    "Eldest 长老之仗", "Hammer 铁锤", "Thor 雷神之锤", "Battle 战斧",
    "Double 双面钩", "M.Star 连枷", "Thunder 雷鸣枪", "Wind 风翼枪",
    "Blood 吸魂枪", "Holy 神圣枪", "Knife 小刀", "Dagger 匕首",
    "Mithril 秘银小刀", "M.Gauche 左手用刀", "Orialcon 吸魂刀", "AirKnife 风刃小刀",
    "Long 长剑", "W.Slayer 责杀剑", "Shiny 亮剑", "Mithril 秘银剑",
    "Serpent 蛇剑", "IceBlade 冰冻剑", "Tyrving 迪鲁威剑", "Salamand 火精灵剑",
    "King 王者剑", "Tomahawk 双刃战斧", "Ancient 古代剑", "Ashura 阿修罗",
    "Blood 吸魂剑", "Defender 防御剑", "Triton 海神之锤", "Kotetsu 虎徹",
    "Kiku 菊一文字", "Break 石化剑", "Excalibur 石中剑", "Marasane 正宗",
    "Ragnarok 诸神黄昏", "Onion 洋葱剑", "Flame 炎之书", "Ice 冰之书",
    "Inferno 炎之字典", "Light 光之书", "Illumina 光之字典", "Boomerang 回旋镖",
    "FullMoon 圆月轮", "Shuriken 手里剑", "Blizzard 冰之字典", "Giyaman 玻璃之铃",
    "Earth 大地之铃", "Rune 古文之铃", "Madora 圣母竖琴", "Dream 梦之竖琴",
    "Lamia 女妖竖琴", "Loki 洛基竖琴 ", "Bow 弓", "GreatBow 巨弓",
    "Killer 杀手弓", "Rune 古文之弓", "Yochi 与一之弓", "Wooden 木箭",
    "Holy 圣箭", "Iron 铁箭", "Bolt 雷箭", "Fire 火箭",
    "Ice 冰箭", "Medusa 石化箭", "Yochi 与一之箭", "不明物品",
};

constexpr std::array<std::string_view, 64> armourNames{
    "Leather 皮盾", "Onion 洋葱盾", "Mithril 秘银盾", "Ice 冰盾",
    "Hero 勇者盾", "Demon 恶魔盾", "Diamond 钻石盾", "Aegis 宙斯盾",
    "Genji 源氏盾", "Crystal 水晶盾", "Leather 皮帽", "Onion 洋葱盔",
    "Mithril 秘银盔", "Carapace 角贝头盔", "Ice 冰冻盔", "HeadBand 头带",
    "Scholar 学者帽", "DarkHood 黑头巾", "Chakra 斩飞头带", "Viking 维京头盔",
    "Dragon 龙之盔", "Feather 羽毛帽子", "Diamond 钻石盔", "Genji 源氏头盔",
    "Crystal 水晶盔", "Ribbon 缎带", "Cloth 衣服", "Leather 皮铠",
    "Onion 洋葱甲", "Mithril 秘银甲", "Carapace 角贝铠甲", "Ice 冰冻甲",
    "FlameMail 火焰甲", "Kenpo 拳术衣", "DarkSuit 黑装束", "Wizard 法师袍",
    "Viking 维京铠甲", "BlackBelt 黑带服", "Knight 骑士铠", "Dragon 龙之甲",
    "Bard 诗人服", "Scholar 学者服", "Gaia 大地之衣", "Demon 恶魔甲",
    "Diamond 钻石甲", "Reflect 反射甲", "WhiteRobe 白袍", "BlackRobe 黑袍",
    "Genji 源氏之铠", "Crystal 水晶甲", "Rusted 锈铠甲", "Copper 铜手镯",
    "Onion 洋葱护手", "Mithril 秘银护手", "Mithril 秘银手镯", "Thief 盗贼护手",
    "Gaunlet 铁手套", "Power 力量护腕", "Rune 古文手镯", "Diamond 钻石手镯",
    "Diamond 钻石护手", "Protect 守护戒指", "Genji 源氏护手", "Crystal 水晶护手",
};

constexpr std::array<std::string_view, 49> itemNames{
    "Magic Key 魔法钥匙", "Carrot 基莎尔蔬菜", "Horn 侏儒之角", "Eye 尼布特龙眼",
    "Time Gear 时间齿轮", "EurekaKey 尤里卡钥匙", "Wind Fang 风之牙", "Fire Fang 火之牙",
    "WaterFang 水之牙 ", "EarthFang 土之牙", "Lute 诺亚之琴", "Sylx Key 修克斯钥匙",
    "MidgBread 小人面包", "? ?", "Potion 恢复剂", "Hi-Potion 大恢复剂",
    "Elixir 圣灵药", "FenixDown 不死鸟尾巴", "Soft 金针", "Maid Kiss 少女之吻",
    "Echo Herb 回声草", "LuckMallet 万宝槌", "Eyedrop 眼药水", "Antidote 解毒药",
    "OtterHead 海龙之头", "BombShard 爆弹之碎片", "SouthWind 南极风", "Zeus'Rage 宙斯之怒",
    "BombR.Arm 爆弹之右手", "NorthWind 北极风", "NorthWind 北极风", "Gods'Rage 众神之怒",
    "EarthDrum 大地之鼓", "LamiaScl. 叛乱之牙", "Gods'Wine 酒神之酒", "TurtlShell 龟壳",
    "Devil'sSigh 恶魔之叹息", "BlackHole 黑洞", "DarkScent 黑之香", "LilithKiss 莉莉斯之吻",
    "Imp'sYawn 天狗之凶日", "SplitShell 破裂龟壳", "Paralyzer 麻醉针", "MuteCharm 沉默之符",
    "Pillow 绵羊之枕", "Bomb Head 爆弹之头", "Barrier 光之祈祷", "ChocoRage 陆行鸟之怒",
    "WhiteScent 白之香",
};

constexpr std::array<std::string_view, 56> magicNames{
    "Flare 核爆术", "Death 即死术", "Meteo 流星火雨", "W.Wind 濒死术",
    "Life2 大复活术", "Holy 神圣之光", "Bahamut 龙王巴哈姆特", "Quake 地震",
    "Brak2 强石化术", "Drain 生命汲取", "Cure4 终极治愈", "Heal 驱咒术",
    "Wall 魔法反弹", "Leviathan 利维亚桑 ", "Fire3 三级火魔法", "Bio 生化术",
    "Warp 异次元术", "Aero2 二级气动术", "Soft 化石术", "Haste 狂暴术",
    "Odin 奥丁", "Bolt3 三级电魔法", "Kill 杀戮术", "Erase 破咒术",
    "Cure3 三级治愈术", "Life 复活术", "Safe 石肤术", "Titan 巨人泰坦",
    "Break 石化术", "Ice3 三级冰魔法", "Shade 魔痹术", "Libra 调查术",
    "Confu 混乱术", "Mute 沉默术", "Ifrit 火神伊夫特利", "Fire2 二级火魔法",
    "Ice2 二级冰魔法", "Bolt2 二级电魔法", "Cure2 二级治愈术", "Exit 定向传送",
    "Wash 解除黑暗", "Ramuh 雷神拉默", "Bolt 一级电魔法", "Venom 落毒术",
    "Blind 黑暗术", "Aero 气动术", "Toad 青蛙术", "Mini 缩小术",
    "Shiva 冰之女神希娃", "Fire 一级火魔法", "Ice 一级冰魔法", "Sleep 催眠",
    "Cure 一级治愈术", "Pure 解毒术", "Sight 地图映像术", "Chocobo 陆行鸟",
};

}  // namespace

std::span<const std::string_view> names(NameList list) {
    switch (list) {
    case NameList::Weapon: return weaponNames;
    case NameList::Armour: return armourNames;
    case NameList::Item: return itemNames;
    case NameList::Magic: return magicNames;
    }
    return {};
}

NameList nameListOf(TableKind kind) {
    switch (kind) {
    case TableKind::Weapon: return NameList::Weapon;
    case TableKind::Armour: return NameList::Armour;
    case TableKind::Magic: return NameList::Magic;
    }
    return NameList::Weapon;
}

std::string_view recordName(TableKind kind, int index) {
    if (!isValidRecord(kind, index)) return {};
    return names(nameListOf(kind))[static_cast<std::size_t>(index)];
}

static_assert(weaponNames.size() == tableSpec(TableKind::Weapon).recordCount);
static_assert(armourNames.size() == tableSpec(TableKind::Armour).recordCount);
static_assert(magicNames.size() == tableSpec(TableKind::Magic).recordCount);

}  // namespace varnel
