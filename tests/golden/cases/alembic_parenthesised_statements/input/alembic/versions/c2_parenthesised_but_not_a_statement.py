from alembic import op
import sqlalchemy as sa


async def upgrade():
    await (op.create_table("a1", sa.Column("id", sa.Integer())))
    op.create_index("ix_a1", "a1", ["id"])
    (await op.create_table("a2", sa.Column("id", sa.Integer())))
    op.create_unique_constraint("uq_a2", "a2", ["id"])
    table = (op.create_table("a3", sa.Column("id", sa.Integer())))
    op.drop_table("a3")
    [op.create_table("a4", sa.Column("id", sa.Integer()))]
    op.create_index("ix_a4", "a4", ["id"])
    if x:
        (op.create_table("a5", sa.Column("id", sa.Integer())))
    op.create_index("ix_a5", "a5", ["id"])
